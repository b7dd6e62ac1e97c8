// One copy of a plug-in's resources from its file into another resource
// file: run first to check (nothing written, the bytes counted), then to
// write; a failed write takes back every resource it added.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "transfer/remap/ResIDMap.h"

namespace transfer {

// Where the id of each resource item ('ICON', 'CNTL', 'PICT') stands in an
// item list, with its type; false when the list does not fit its bytes
// (*out then holds the items before the damage).
bool ItemListIds(const std::string& list, std::vector<std::pair<size_t, uint32_t>>* out);

class BundleCopy {
public:
    BundleCopy(int16_t from, int16_t to, bool write);
    ~BundleCopy();
    BundleCopy(const BundleCopy&) = delete;
    BundleCopy& operator=(const BundleCopy&) = delete;

    // (type, id) of `from` as (type, newId) of `to` (checked only, while
    // not writing). `missingOk`: a missing resource copies nothing.
    int16_t Resource(uint32_t type, int16_t id, int16_t newId, bool missingOk);
    // The bundle (type, id) as (type, newId) with its elements.
    int16_t Bundle(uint32_t type, int16_t id, int16_t newId);
    // Removes what this copy added.
    void TakeBack();

    int64_t bytes = 0;  // what the resources read hold

private:
    int16_t Read(uint32_t type, int16_t id, std::string* out, unsigned char* name);
    int16_t Add(uint32_t type, int16_t id, const std::string& data, const unsigned char* name);
    // A dialog's or alert's item list moved, its new id written in.
    int16_t MoveDLogRes(uint32_t type, std::string* data);
    // An item list and the resources of its items: *newId.
    int16_t MoveDITLRes(int16_t id, int16_t* newId);

    int16_t from_, to_;
    bool write_;
    ResTableHdl table_ = nullptr;
    std::vector<std::pair<uint32_t, int16_t>> added_;
};

}  // namespace transfer
