#include "forms/walkers/StoredListBox.h"

#include "platform/core/Endian.h"

namespace {

constexpr int32_t kEditableHead = 16;
constexpr int32_t kLookAndStyle = 6;

// The size of the toolbox string at `at` of a chunk's data; -1 when it
// passes the data.
int32_t VStringSize(const StoredChunk& chunk, int32_t at)
{
    if (at < 0 || int64_t(at) + 4 > chunk.size) return -1;
    const int32_t n = int32_t(platform::ReadBE32(chunk.data + at));
    const int64_t size = n < 1 ? 4 : 4 + 2 * (int64_t(n) + 1);
    return int64_t(at) + size <= chunk.size ? int32_t(size) : -1;
}

// Where the list box's variable lies in its "GDTL": behind the 16 bytes,
// the padded format, the look, its style and the name.
int32_t VariableAt(const StoredChunk& chunk)
{
    int32_t at = kEditableHead;
    if (at >= chunk.size) return -1;
    at += PaddedPStrSize(chunk.data[at]) + kLookAndStyle;
    if (at >= chunk.size) return -1;
    return at + 1 + chunk.data[at];
}

// The string at `at` replaced by `now` when it differs from `was`; `at`
// moves past the stored string and the `gap` bytes after it.
bool Respell(ChunkEdit& edit, const StoredChunk& chunk, int32_t* at, int32_t gap, const std::u16string& was,
             const std::u16string& now)
{
    const int32_t size = VStringSize(chunk, *at);
    if (size < 0) return false;
    if (was != now && !edit.Replace(*at, size, VStringBytes(now))) return false;
    *at += size + gap;
    return true;
}

}  // namespace

std::string VStringBytes(const std::u16string& text)
{
    std::string bytes(4, '\0');
    platform::WriteBE32(reinterpret_cast<uint8_t*>(bytes.data()), uint32_t(text.size()));
    if (text.empty()) return bytes;
    for (char16_t unit : text) {
        bytes.push_back(char(unit >> 8));
        bytes.push_back(char(unit & 0xFF));
    }
    bytes.append(2, '\0');
    return bytes;
}

bool TitleAsStr255(const VGridHeader* header, unsigned char* out)
{
    if (header->title.size() > 255) return false;
    header->GetTitle(out);
    return U16FromName(out) == header->title;
}

StoredListBox::StoredListBox() : grid_(new VLayoutGrid(nullptr)) {}

StoredListBox::~StoredListBox() = default;

IFFP StoredListBox::Read(_GroupContext* context)
{
    if (!TakeStoredChunk(context, &listBox_)) return BAD_IFF;
    IOFile* file = context->file;
    const uint8_t* imageEnd = reinterpret_cast<const uint8_t*>(*file->handle) + file->base + file->logicalEnd;
    if (const IFFP err = ReadListBoxWithColumns(grid_.get(), context)) return err;
    variable_ = grid_->variable;
    // Only an image in this byte order is written back.
    if (context->byteReversed) return IFF_OKAY;
    VGridView& view = grid_->GetGridView();
    // The columns were read from the chunks that follow the list box's,
    // one after the other.
    // Each chunk's pad byte is stepped over with the next header.
    const uint8_t* at = listBox_.data + listBox_.size;
    int32_t pad = listBox_.size & 1;
    for (int32_t k = 1; k <= grid_->GetGridColumnCount(); ++k) {
        if (imageEnd - at < pad + kChunkHeaderSize) return BAD_IFF;
        at += pad;
        StoredChunk column{IFFP(platform::ReadBE32(at)), at + kChunkHeaderSize, int32_t(platform::ReadBE32(at + 4))};
        if (column.size < 0 || imageEnd - column.data < column.size) return BAD_IFF;
        columns_.push_back(column);
        read_.push_back({view.GetColumn(k)->variable, view.GetColumnHeader(k)->variable, view.GetColumnHeader(k)->title});
        at = column.data + column.size;
        pad = column.size & 1;
    }
    return IFF_OKAY;
}

IFFP StoredListBox::Write(_GroupContext* output) const
{
    if (!output) return IFF_OKAY;
    if (columns_.size() != size_t(grid_->GetGridColumnCount())) return CLIENT_ERROR;
    ChunkEdit listBox(listBox_);
    int32_t at = VariableAt(listBox_);
    if (!grid_->rawChunk && !Respell(listBox, listBox_, &at, 0, variable_, grid_->variable)) return BAD_FORM;
    IFFP result = listBox.Write(output);
    VGridView& view = grid_->GetGridView();
    for (size_t k = 0; result == IFF_OKAY && k < columns_.size(); ++k) {
        ChunkEdit column(columns_[k]);
        const int32_t n = int32_t(k + 1);
        at = 0;
        // A column kept as its bytes is written as it was.
        if (!view.GetColumn(n)->rawColumn &&
            (!Respell(column, columns_[k], &at, 2, read_[k].column, view.GetColumn(n)->variable) ||
             !Respell(column, columns_[k], &at, 2, read_[k].header, view.GetColumnHeader(n)->variable) ||
             !Respell(column, columns_[k], &at, 2, read_[k].title, view.GetColumnHeader(n)->title)))
            return BAD_FORM;
        result = column.Write(output);
    }
    return result;
}
