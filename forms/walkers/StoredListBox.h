// A list box as a walker meets it: its "GDTL" and the "GCOL" of each
// column (ListBox.h), read whole into a list box object whose variables
// and titles the walker reads and changes through the list box's own
// operations. Writing it back writes each chunk as stored but the strings
// that changed; a chunk the list box kept as its bytes is written as it
// was.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/listbox/ListBox.h"
#include "forms/walkers/ChunkRewrite.h"

class StoredListBox {
public:
    StoredListBox();
    ~StoredListBox();
    StoredListBox(const StoredListBox&) = delete;
    StoredListBox& operator=(const StoredListBox&) = delete;

    // Reads the "GDTL" open in `context` and the columns behind it; the
    // group is left at the last chunk read.
    IFFP Read(_GroupContext* context);
    VLayoutGrid& Grid() { return *grid_; }
    // False for a list box kept as its bytes: nothing of it may change.
    bool Readable() const { return !grid_->rawChunk; }
    // The chunks read, each with the strings changed since Read.
    IFFP Write(_GroupContext* output) const;

private:
    struct ColumnStrings {
        std::u16string column, header, title;
    };
    std::unique_ptr<VLayoutGrid> grid_;
    StoredChunk listBox_;
    std::vector<StoredChunk> columns_;
    std::u16string variable_;
    std::vector<ColumnStrings> read_;
};

// A column header's title as a Str255; false when it is longer or holds a
// character Mac Roman lacks (a title changed through a Str255 would lose
// it).
bool TitleAsStr255(const VGridHeader* header, unsigned char* out);

// A toolbox string as chunks keep it (VStringChunks.h).
std::string VStringBytes(const std::u16string& text);
