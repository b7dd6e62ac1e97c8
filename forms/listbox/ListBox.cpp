// The list box object, its columns and headers, and the column operations.
#include "forms/listbox/ListBox.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Memory.h"
#include "platform/text/SingleByteSets.h"

namespace {

constexpr uint8_t kInterprocessMark = 0xD7;

platform::Handle Copied(platform::Handle h)
{
    if (!h) return nullptr;
    platform::Handle copy = h;
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

}  // namespace

std::u16string U16FromName(const unsigned char* name)
{
    std::u16string s;
    for (int i = 1; i <= name[0]; ++i) s.push_back(platform::MacRomanToUnicode(name[i]));
    return s;
}

void NameFromU16(const std::u16string& text, unsigned char* out, int32_t max)
{
    const int32_t n = std::min<int32_t>({int32_t(text.size()), max, 255});
    for (int32_t i = 0; i < n; ++i) {
        uint8_t b = '?';
        platform::UnicodeToMacRoman(text[size_t(i)], &b);
        out[i + 1] = b;
    }
    out[0] = uint8_t(n);
}

// --- columns and headers ---------------------------------------------------------

VGridSubObject::VGridSubObject(LayoutEditor* e, int16_t kind) : VarObject(e) { subObjectKind = kind; }

VGridSubObject::VGridSubObject(const VGridSubObject& other)
    : VarObject(other),
      subObjectKind(other.subObjectKind),
      variable(other.variable),
      range(other.range),
      rawColumn(Copied(other.rawColumn))
{
}

VGridSubObject::~VGridSubObject()
{
    if (rawColumn) platform::DisposeHandle(rawColumn);
}

LayoutObject* VGridSubObject::Duplicate() { return new VGridSubObject(*this); }
LayoutObject* VGridHeader::Duplicate() { return new VGridHeader(*this); }

void VGridSubObject::GetVarName(unsigned char* out) { NameFromU16(variable, out, 31); }

void VGridSubObject::SetVarName(const unsigned char* newName) { SetVariable(U16FromName(newName), kKeepRange); }

void VGridSubObject::SetVariable(const std::u16string& name, int16_t newRange)
{
    variable = name;
    if (newRange != kKeepRange) range = newRange;
    interprocess = range == kInterprocessRange ? 1 : 0;
    NameFromU16(variable, varName, 31);
}

void VGridHeader::GetTitle(unsigned char* out) const { NameFromU16(title, out, 255); }

void VGridHeader::SetTitle(const unsigned char* t) { title = U16FromName(t); }

// --- the column operations ------------------------------------------------------------

int32_t VGridView::ColumnCount() const { return grid_->GetGridColumnCount(); }

VGridSubObject* VGridView::GetColumn(int32_t column) const
{
    return column >= 1 && column <= ColumnCount() ? grid_->columns_[size_t(column - 1)].column : nullptr;
}

VGridHeader* VGridView::GetColumnHeader(int32_t column) const
{
    return column >= 1 && column <= ColumnCount() ? grid_->columns_[size_t(column - 1)].header : nullptr;
}

void VGridView::GetColumnVarName(int32_t column, unsigned char* out) const
{
    out[0] = 0;
    if (VGridSubObject* c = GetColumn(column)) NameFromU16(c->variable, out, 255);
}

int16_t VGridView::GetColumnVarRange(int32_t column) const
{
    VGridSubObject* c = GetColumn(column);
    return c ? c->range : 0;
}

void VGridView::SetColumnVarName(int32_t column, const unsigned char* name, int16_t range)
{
    if (VGridSubObject* c = GetColumn(column)) c->SetVariable(U16FromName(name), range);
}

void VGridView::GetColHeaderVarName(int32_t column, unsigned char* out) const
{
    out[0] = 0;
    if (VGridHeader* h = GetColumnHeader(column)) NameFromU16(h->variable, out, 255);
}

int16_t VGridView::GetColHeaderVarRange(int32_t column) const
{
    VGridHeader* h = GetColumnHeader(column);
    return h ? h->range : 0;
}

void VGridView::SetColHeaderVarName(int32_t column, const unsigned char* name, int16_t range)
{
    if (VGridHeader* h = GetColumnHeader(column)) h->SetVariable(U16FromName(name), range);
}

// --- the frame and the list box ------------------------------------------------------

void VLayoutFrame::GetFullVariableName(unsigned char* out, int16_t* outRange) const
{
    unsigned char plain[256];
    NameFromU16(variable, plain, 255);
    const bool marked = range == kInterprocessRange;
    out[0] = uint8_t(std::min<int>(255, plain[0] + (marked ? 1 : 0)));
    if (marked) out[1] = kInterprocessMark;
    std::memcpy(out + 1 + (marked ? 1 : 0), plain + 1, size_t(out[0] - (marked ? 1 : 0)));
    if (outRange) *outRange = range;
}

void VLayoutFrame::SetVariableName(const unsigned char* name, int16_t newRange)
{
    const bool marked = name[0] > 0 && name[1] == kInterprocessMark;
    unsigned char plain[256];
    plain[0] = uint8_t(name[0] - (marked ? 1 : 0));
    std::memcpy(plain + 1, name + 1 + (marked ? 1 : 0), plain[0]);
    variable = U16FromName(plain);
    if (marked) range = kInterprocessRange;
    else if (newRange != kKeepRange) range = newRange;
}

VLayoutGrid::VLayoutGrid() = default;
VLayoutGrid::VLayoutGrid(LayoutEditor* e) : VLayoutFrame(e) {}

VLayoutGrid::VLayoutGrid(const VLayoutGrid& other)
    : VLayoutFrame(other), rawChunk(Copied(other.rawChunk)), storedColumnCount(other.storedColumnCount)
{
    for (const Column& c : other.columns_) {
        auto* header = static_cast<VGridHeader*>(c.header->Duplicate());
        auto* column = static_cast<VGridSubObject*>(c.column->Duplicate());
        if (!header || !column) {
            delete header;
            delete column;
            break;
        }
        AddSubObject(header);
        AddSubObject(column);
        columns_.push_back({header, column});
    }
}

VLayoutGrid::~VLayoutGrid()
{
    if (rawChunk) platform::DisposeHandle(rawChunk);
    for (LayoutObject* m = firstChild; m;) {
        LayoutObject* following = m->next;
        delete m;
        m = following;
    }
}

LayoutObject* VLayoutGrid::Duplicate() { return new VLayoutGrid(*this); }

void VLayoutGrid::ScaleObj(int16_t percent, uint8_t flag)
{
    VLayoutFrame::ScaleObj(percent, flag);
    for (LayoutObject* m = firstChild; m; m = m->next) m->ScaleObj(percent, flag);
}

VGridSubObject* VLayoutGrid::AddColumn()
{
    auto* header = new VGridHeader(editor);
    auto* column = new VGridSubObject(editor, 1);
    if (!header || !column) {
        delete header;
        delete column;
        return nullptr;
    }
    AddSubObject(header);
    AddSubObject(column);
    columns_.push_back({header, column});
    return column;
}

int16_t VLayoutGrid::GetColumnProc(int32_t column) const
{
    VGridSubObject* c = view_.GetColumn(column);
    return c ? c->objectMethodID : 0;
}

void VLayoutGrid::SetColumnProc(int32_t column, int16_t methodId)
{
    if (VGridSubObject* c = view_.GetColumn(column)) c->objectMethodID = methodId;
}
