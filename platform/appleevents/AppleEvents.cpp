#include "platform/appleevents/AppleEvents.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"

namespace platform {

struct AEDescData {
    std::vector<uint8_t> bytes;
    // Items of a list (keyword 0), fields of a record, parameters of an event.
    struct Item {
        AEKeyword keyword;
        AEDesc desc;
        bool read;
    };
    std::vector<Item> items;
    AEEventClass eventClass = 0;
    AEEventID eventID = 0;
};

namespace {

struct Handler {
    AEEventClass eventClass;
    AEEventID eventID;
    AEEventHandlerUPP proc;
    uintptr_t refCon;
};

std::vector<Handler>& Handlers()
{
    static auto* handlers = new std::vector<Handler>;
    return *handlers;
}

bool IsContainer(DescType t) { return t == typeAEList || t == typeAERecord || t == typeAppleEvent; }

AEDesc Copy(const AEDesc& d)
{
    AEDesc out{d.descriptorType, nullptr};
    if (!d.dataHandle) return out;
    auto data = std::make_unique<AEDescData>();
    data->bytes = d.dataHandle->bytes;
    data->eventClass = d.dataHandle->eventClass;
    data->eventID = d.dataHandle->eventID;
    try {
        for (const auto& item : d.dataHandle->items) {
            data->items.push_back({item.keyword, AEDesc{}, false});
            data->items.back().desc = Copy(item.desc);
        }
    } catch (...) {
        for (auto& item : data->items) AEDisposeDesc(&item.desc);
        throw;
    }
    out.dataHandle = data.release();
    return out;
}

// Gives a plain descriptor's bytes as `desired`: the same type or the
// wildcard as they are; a file path as an FSSpec, an FSRef or text.
OSErr GiveBytes(const AEDesc& d, DescType desired, DescType* typeCode, void* data, Size maxSize, Size* actualSize)
{
    if (IsContainer(d.descriptorType)) return errAEWrongDataType;
    const std::vector<uint8_t> empty;
    const std::vector<uint8_t>& bytes = d.dataHandle ? d.dataHandle->bytes : empty;
    const bool isFile = d.descriptorType == typeFSS || d.descriptorType == typeFSRef;
    if (isFile && (desired == typeFSS || desired == typeFSRef)) {
        const std::string path(bytes.begin(), bytes.end());
        const Size needed = desired == typeFSS ? Size(sizeof(FSSpec)) : Size(sizeof(FSRef));
        if (actualSize) *actualSize = needed;
        if (typeCode) *typeCode = desired;
        if (!data || maxSize < needed) return noErr;  // the size tells the caller what to give
        if (desired == typeFSS) {
            static_cast<FSSpec*>(data)->path = path;
            return noErr;
        }
        FSRef ref;
        if (FSpMakeFSRef(FSSpec{path}, &ref) != noErr) return errAECoercionFail;
        *static_cast<FSRef*>(data) = ref;
        return noErr;
    }
    if (desired != typeWildCard && desired != d.descriptorType && !(isFile && desired == typeChar))
        return errAECoercionFail;
    if (typeCode) *typeCode = desired == typeWildCard ? d.descriptorType : desired;
    if (actualSize) *actualSize = Size(bytes.size());
    if (data && maxSize > 0 && !bytes.empty())
        std::memcpy(data, bytes.data(), std::min<size_t>(size_t(maxSize), bytes.size()));
    return noErr;
}

AEDescData::Item* FindParam(const AppleEvent* event, AEKeyword keyword)
{
    if (!event || event->descriptorType != typeAppleEvent || !event->dataHandle) return nullptr;
    for (auto& item : event->dataHandle->items)
        if (item.keyword == keyword) return &item;
    return nullptr;
}

OSErr PutItem(AEDescList* list, int32_t index, AEKeyword keyword, const AEDesc& desc)
{
    if (!list || !list->dataHandle || !IsContainer(list->descriptorType)) return errAENotAEDesc;
    auto& items = list->dataHandle->items;
    if (index < 0 || size_t(index) > items.size() + 1) return errAEBadListItem;
    AEDesc copy = Copy(desc);
    if (index == 0 || size_t(index) == items.size() + 1) {
        try {
            items.push_back({keyword, copy, false});
        } catch (...) {
            AEDisposeDesc(&copy);
            throw;
        }
    } else {
        AEDisposeDesc(&items[size_t(index) - 1].desc);
        items[size_t(index) - 1] = {keyword, copy, false};
    }
    return noErr;
}

template <typename F>
OSErr Guard(F&& f)
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace

OSErr AECreateDesc(DescType type, const void* data, Size size, AEDesc* result)
{
    if (!result || size < 0 || (size > 0 && !data)) return paramErr;
    *result = AEDesc{typeNull, nullptr};
    if (type == typeNull) return noErr;
    if (IsContainer(type)) return errAEWrongDataType;
    return Guard([&] {
        auto d = std::make_unique<AEDescData>();
        d->bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        *result = AEDesc{type, d.release()};
        return noErr;
    });
}

OSErr AEDisposeDesc(AEDesc* desc)
{
    if (!desc) return paramErr;
    if (AEDescData* d = desc->dataHandle) {
        for (auto& item : d->items) AEDisposeDesc(&item.desc);
        delete d;
    }
    *desc = AEDesc{typeNull, nullptr};
    return noErr;
}

OSErr AEDuplicateDesc(const AEDesc* desc, AEDesc* result)
{
    if (!desc || !result) return paramErr;
    return Guard([&] {
        *result = Copy(*desc);
        return noErr;
    });
}

Size AEGetDescDataSize(const AEDesc* desc)
{
    return desc && desc->dataHandle && !IsContainer(desc->descriptorType) ? Size(desc->dataHandle->bytes.size()) : 0;
}

OSErr AEGetDescData(const AEDesc* desc, void* data, Size maxSize)
{
    if (!desc) return paramErr;
    return GiveBytes(*desc, typeWildCard, nullptr, data, maxSize, nullptr);
}

OSErr AECreateList(const void*, Size, Boolean isRecord, AEDescList* result)
{
    if (!result) return paramErr;
    return Guard([&] {
        *result = AEDesc{isRecord ? typeAERecord : typeAEList, new AEDescData};
        return noErr;
    });
}

OSErr AECountItems(const AEDescList* list, int32_t* count)
{
    if (!list || !count) return paramErr;
    if (!list->dataHandle || !IsContainer(list->descriptorType)) return errAEWrongDataType;
    *count = int32_t(list->dataHandle->items.size());
    return noErr;
}

OSErr AEPutPtr(AEDescList* list, int32_t index, DescType type, const void* data, Size size)
{
    return Guard([&] {
        AEDesc d;
        OSErr err = AECreateDesc(type, data, size, &d);
        if (err) return err;
        err = PutItem(list, index, 0, d);
        AEDisposeDesc(&d);
        return err;
    });
}

OSErr AEPutDesc(AEDescList* list, int32_t index, const AEDesc* desc)
{
    if (!desc) return paramErr;
    return Guard([&] { return PutItem(list, index, 0, *desc); });
}

OSErr AEGetNthPtr(const AEDescList* list, int32_t index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* data, Size maxSize, Size* actualSize)
{
    if (!list || !list->dataHandle || !IsContainer(list->descriptorType)) return errAENotAEDesc;
    const auto& items = list->dataHandle->items;
    if (index < 1 || size_t(index) > items.size()) return errAEBadListItem;
    const auto& item = items[size_t(index) - 1];
    if (keyword) *keyword = item.keyword;
    return Guard([&] { return GiveBytes(item.desc, desiredType, typeCode, data, maxSize, actualSize); });
}

OSErr AEGetNthDesc(const AEDescList* list, int32_t index, DescType desiredType, AEKeyword* keyword, AEDesc* result)
{
    if (!result) return paramErr;
    if (!list || !list->dataHandle || !IsContainer(list->descriptorType)) return errAENotAEDesc;
    const auto& items = list->dataHandle->items;
    if (index < 1 || size_t(index) > items.size()) return errAEBadListItem;
    const auto& item = items[size_t(index) - 1];
    if (desiredType != typeWildCard && desiredType != item.desc.descriptorType) return errAECoercionFail;
    if (keyword) *keyword = item.keyword;
    return AEDuplicateDesc(&item.desc, result);
}

OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, AppleEvent* result)
{
    if (!result) return paramErr;
    return Guard([&] {
        auto d = std::make_unique<AEDescData>();
        d->eventClass = eventClass;
        d->eventID = eventID;
        *result = AEDesc{typeAppleEvent, d.release()};
        return noErr;
    });
}

OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc)
{
    if (!event || event->descriptorType != typeAppleEvent || !desc) return errAENotAEDesc;
    return Guard([&] {
        if (AEDescData::Item* old = FindParam(event, keyword)) {
            AEDesc copy = Copy(*desc);
            AEDisposeDesc(&old->desc);
            old->desc = copy;
            old->read = false;
            return noErr;
        }
        return PutItem(event, 0, keyword, *desc);
    });
}

OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType type, const void* data, Size size)
{
    return Guard([&] {
        AEDesc d;
        OSErr err = AECreateDesc(type, data, size, &d);
        if (err) return err;
        err = AEPutParamDesc(event, keyword, &d);
        AEDisposeDesc(&d);
        return err;
    });
}

OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result)
{
    if (!result) return paramErr;
    *result = AEDesc{typeNull, nullptr};
    AEDescData::Item* item = FindParam(event, keyword);
    if (!item) return errAEDescNotFound;
    // Lists become records and back only as themselves: no other coercion.
    if (desiredType != typeWildCard && desiredType != item->desc.descriptorType) return errAECoercionFail;
    item->read = true;
    return AEDuplicateDesc(&item->desc, result);
}

OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                    void* data, Size maxSize, Size* actualSize)
{
    AEDescData::Item* item = FindParam(event, keyword);
    if (!item) return errAEDescNotFound;
    OSErr err = Guard([&] { return GiveBytes(item->desc, desiredType, typeCode, data, maxSize, actualSize); });
    if (!err) item->read = true;
    return err;
}

OSErr AEGetAttributePtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                        void* data, Size maxSize, Size* actualSize)
{
    if (!event || event->descriptorType != typeAppleEvent || !event->dataHandle) return errAENotAEDesc;
    OSType value = 0;
    DescType type = typeType;
    if (keyword == keyEventClassAttr) {
        value = event->dataHandle->eventClass;
    } else if (keyword == keyEventIDAttr) {
        value = event->dataHandle->eventID;
    } else if (keyword == keyMissedKeywordAttr) {
        const AEDescData::Item* missed = nullptr;
        for (const auto& item : event->dataHandle->items)
            if (!item.read) {
                missed = &item;
                break;
            }
        if (!missed) return errAEDescNotFound;
        value = missed->keyword;
        type = typeKeyword;
    } else {
        return errAEDescNotFound;
    }
    if (desiredType != typeWildCard && desiredType != type) return errAECoercionFail;
    if (typeCode) *typeCode = type;
    if (actualSize) *actualSize = 4;
    if (data && maxSize >= 4) std::memcpy(data, &value, 4);
    return noErr;
}

OSErr AEInstallEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler, uintptr_t refCon,
                            Boolean)
{
    if (!handler) return paramErr;
    return Guard([&] {
        for (Handler& h : Handlers())
            if (h.eventClass == eventClass && h.eventID == eventID) {
                h.proc = handler;
                h.refCon = refCon;
                return noErr;
            }
        Handlers().push_back({eventClass, eventID, handler, refCon});
        return noErr;
    });
}

OSErr AERemoveEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler, Boolean)
{
    auto& hs = Handlers();
    for (auto it = hs.begin(); it != hs.end(); ++it)
        if (it->eventClass == eventClass && it->eventID == eventID && (!handler || it->proc == handler)) {
            hs.erase(it);
            return noErr;
        }
    return errAEHandlerNotFound;
}

OSErr AEProcessAppleEvent(const EventRecord* record)
{
    if (!record || record->what != kHighLevelEvent) return paramErr;
    const HighLevelEventInfo& info = LastHighLevelEvent();
    const AEEventClass eventClass = OSType(record->message);
    const AEEventID eventID = HighLevelEventID(*record);
    const Handler* found = nullptr;
    for (const Handler& h : Handlers()) {
        const bool classMatches = h.eventClass == eventClass || h.eventClass == typeWildCard;
        const bool idMatches = h.eventID == eventID || h.eventID == typeWildCard;
        // An exact match wins over a wildcard.
        if (classMatches && idMatches && (!found || (h.eventClass == eventClass && h.eventID == eventID))) found = &h;
    }
    if (!found) return errAEEventNotHandled;
    const Handler handler = *found;
    AppleEvent event, reply;
    OSErr err = Guard([&] {
        OSErr e = AECreateAppleEvent(eventClass, eventID, &event);
        if (e) return e;
        if (!info.documents.empty() && info.eventClass == eventClass && info.eventID == eventID) {
            AEDescList files;
            e = AECreateList(nullptr, 0, false, &files);
            for (size_t i = 0; !e && i < info.documents.size(); ++i)
                e = AEPutPtr(&files, 0, typeFSS, info.documents[i].data(), Size(info.documents[i].size()));
            if (!e) e = AEPutParamDesc(&event, keyDirectObject, &files);
            AEDisposeDesc(&files);
        }
        return e;
    });
    if (err) {
        AEDisposeDesc(&event);
        return err;
    }
    AECreateAppleEvent(0, 0, &reply);
    err = handler.proc(&event, &reply, handler.refCon);
    AEDisposeDesc(&event);
    AEDisposeDesc(&reply);
    return err;
}

void ResetAppleEvents()
{
    Handlers().clear();
}

}  // namespace platform
