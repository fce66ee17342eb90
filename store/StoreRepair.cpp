#include "store/StoreRepair.h"

#include <cstdio>
#include <map>
#include <new>
#include <set>
#include <utility>
#include <vector>

#include "platform/ByteOrder.h"
#include "store/FileCrc.h"
#include "store/PhoneFile.h"
#include "store/StoreFormat.h"
#include "store/StoreSalvage.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

constexpr uint32_t kPasswordHashSize = CTesseraEncryptedLinkList::kPasswordHashSize;

// The record area as the walk over it found it: where each whole record starts, and where the walk
// stopped (the file's end, or the start of a partial record or word).
struct Walk {
    std::vector<uint32_t> starts;
    uint32_t end = 0;
};

// False when the password section does not fit.
bool WalkRecords(const Bytes& image, Walk& walk) {
    if (image.size() < kStoreHeaderSize + 4) return false;
    uint64_t position =
        uint64_t(kStoreHeaderSize) + 4 + GetU32(image.data() + kStoreHeaderSize) + kPasswordHashSize;
    if (position > image.size()) return false;
    while (position + kRecordHeadSize <= image.size()) {
        uint64_t end = position + kRecordHeadSize + DecodeRecordHead(image.data() + position).length;
        if (end > image.size()) break;
        walk.starts.push_back(static_cast<uint32_t>(position));
        position = end;
    }
    walk.end = static_cast<uint32_t>(position);
    return true;
}

// Whether the header's checksum is the one of the bytes from the header to `end`, as they are or before
// a delete's mark (a deleted word of 1 that was 0): the bytes a save had written when it was cut.
bool CoveredUpTo(const Bytes& image, const Walk& walk, uint32_t end) {
    static constexpr uint8_t kMarked[4] = {kRecordDeleted, 0, 0, 0}, kLive[4] = {};
    const uint32_t wanted = StoreHeaderChecksum(image.data());
    const uint64_t total = end - kStoreHeaderSize;
    const uint32_t crc = FileCrc(image.data() + kStoreHeaderSize, total);
    if (crc == wanted) return true;
    for (uint32_t start : walk.starts) {
        if (start >= end) break;
        if (GetU32(image.data() + start + kRecordDeletedOffset) == kRecordDeleted &&
            FileCrcPatch(crc, total, start + kRecordDeletedOffset - kStoreHeaderSize, kMarked, kLive, 4) ==
                wanted)
            return true;
    }
    return false;
}

// A batched add appends its records, then writes the header: cut before, the header's checksum covers
// the bytes up to the first record it added. The last record start it covers so, or false.
bool FindCutBatch(const Bytes& image, const Walk& walk, uint32_t& tail) {
    const uint32_t wanted = StoreHeaderChecksum(image.data());
    uint32_t crc = kFileCrcStart, at = kStoreHeaderSize;
    bool found = false;
    for (uint32_t start : walk.starts) {
        crc = FileCrcUpdate(crc, image.data() + at, start - at);
        at = start;
        if (crc != wanted) continue;
        tail = start;
        found = true;
    }
    return found;
}

// Any other save appends at most one record, so the header's checksum of a cut save covers the whole
// file, or all but a partial record or word at the end, or all but the last record; a cut batched add
// is the one exception. False when it covers none of these: the file is damaged otherwise. `tail`: where
// the bytes the save added begin.
bool FindCutSave(const Bytes& image, const Walk& walk, uint32_t& tail) {
    std::vector<uint32_t> ends{static_cast<uint32_t>(image.size())};
    if (walk.end < image.size())
        ends.push_back(walk.end);
    else if (!walk.starts.empty())
        ends.push_back(walk.starts.back());
    for (uint32_t end : ends) {
        if (!CoveredUpTo(image, walk, end)) continue;
        tail = end;
        return true;
    }
    return FindCutBatch(image, walk, tail);
}

// Live records whose id a later live record has too.
std::vector<uint32_t> OlderCopies(const Bytes& image, const Walk& walk) {
    std::vector<uint32_t> older;
    std::map<uint32_t, uint32_t> lastOfId;
    for (uint32_t start : walk.starts) {
        RecordHead head = DecodeRecordHead(image.data() + start);
        if (head.deleted != kRecordLive) continue;
        auto [it, first] = lastOfId.try_emplace(head.id, start);
        if (!first) older.push_back(std::exchange(it->second, start));
    }
    return older;
}

// The category record packs each category as a field whose type is id << 16 | icon: the ids must be
// neither 0 nor given twice.
bool CategoriesSound(const CTesseraItem& record, std::string& why) {
    std::set<uint32_t> ids;
    for (auto* node = record.fields.head; node; node = node->next) {
        uint32_t id = node->element.type >> 16;
        if (id != 0 && ids.insert(id).second) continue;
        why = "the category record holds category id " + std::to_string(id) + (id ? " twice" : "");
        return false;
    }
    return true;
}

bool WriteNewFile(const std::u16string& path, const Bytes& bytes) {
    HANDLE file =
        CeCreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool done = CeWriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size();
    return CeCloseHandle(file) && done;
}

// Opens the repaired bytes as a store beside the file: the password and every live record must hold.
// kSound when they do.
RepairResult Verify(const std::u16string& path, uint32_t fileType, const SecureBytes& password,
                    const Bytes& image, std::string& why) {
    std::u16string trial = path + u".repair-check";
    CeDeleteFile(trial.c_str());
    if (!WriteNewFile(trial, image)) {
        why = "cannot write beside the file";
        return RepairResult::kRefused;
    }
    bool sound = false;
    bool passwordWrong = false;
    {
        CTesseraEncryptedLinkList store(trial, fileType);
        int code = store.Open();
        if (code != 0) {
            why = "the file is damaged beyond a cut save (open code " + std::to_string(code) + ")";
        } else if (!store.CheckPassword(password.data(), password.size())) {
            why = "the password is wrong";
            passwordWrong = true;
        } else {
            sound = true;
            for (auto* node = store.records.head; node && sound; node = node->next) {
                SecureBytes plain;
                CTesseraItem item;
                sound = store.GetRecordData(&node->element, &plain) &&
                        item.Deserialize(plain.data(), plain.size());
                if (!sound) why = "record " + std::to_string(node->element.id) + " does not decrypt or parse";
                if (sound && node->element.id == kCategoryRecordId) sound = CategoriesSound(item, why);
            }
        }
    }
    CeDeleteFile(trial.c_str());
    if (passwordWrong) return RepairResult::kWrongPassword;
    return sound ? RepairResult::kSound : RepairResult::kRefused;
}

bool ReadAll(PhoneFile& file, Bytes& bytes) {
    uint32_t size = 0;
    if (!file.Size(size)) return false;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return file.ReadExact(bytes.data(), size);
}

}  // namespace

std::u16string RepairCopyPath(const std::u16string& path, const SYSTEMTIME& now) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, ".repair-%04u%02u%02u%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return path + std::u16string(stamp, stamp + std::char_traits<char>::length(stamp));
}

namespace {

struct Mended {
    Bytes image;        // the file as the repair leaves it
    std::string found;  // what a cut save left, or what a salvage kept
    bool salvaged = false;
};

// kRepaired when `mended` holds the repair, else why not in `report`.
RepairResult Mend(const Bytes& original, const SecureBytes& password, RepairMode mode, Mended& mended,
                  std::string& report) {
    Walk walk;
    if (!WalkRecords(original, walk)) {
        report = "the password section is damaged";
        return RepairResult::kRefused;
    }
    uint32_t tail = 0;
    if (!FindCutSave(original, walk, tail)) {
        report =
            "the file is damaged, not as a cut save leaves it; nothing was changed. --salvage writes "
            "it again with every record that still decrypts";
        if (mode != RepairMode::kSalvage) return RepairResult::kRefused;
        uint32_t kept = 0;
        if (!SalvageStoreImage(original, password, mended.image, kept)) return RepairResult::kRefused;
        mended.found = "salvaged " + std::to_string(kept) + " records";
        mended.salvaged = true;
        return RepairResult::kRepaired;
    }
    Bytes& image = mended.image;
    image = original;
    std::vector<uint32_t> older = OlderCopies(original, walk);
    for (uint32_t at : older) PutU32(image.data() + at + kRecordDeletedOffset, kRecordDeleted);
    const bool partial = tail <= walk.end && walk.end < original.size();
    if (partial) CloseWithDeletedRecord(image, walk.end);
    SealStoreFile(image.data(), image.size());
    mended.found = "checksum";
    if (!older.empty()) mended.found += ", " + std::to_string(older.size()) + " older copies";
    if (partial) mended.found += ", a partial record at the end";
    return RepairResult::kRepaired;
}

}  // namespace

RepairResult RepairStoreFile(const std::u16string& path, uint32_t fileType, const SecureBytes& password,
                             const SYSTEMTIME& now, std::string& report, RepairMode mode) {
    PhoneFile file;  // held without sharing for the whole repair
    Bytes original;
    if (!file.Open(path, GENERIC_READ | GENERIC_WRITE) || !ReadAll(file, original)) {
        report = "cannot read the file";
        return RepairResult::kRefused;
    }
    Mended mended;
    if (RepairResult result = Mend(original, password, mode, mended, report);
        result != RepairResult::kRepaired)
        return result;
    const Bytes& image = mended.image;
    if (RepairResult verdict = Verify(path, fileType, password, image, report);
        verdict != RepairResult::kSound)
        return verdict;
    if (image == original) {
        report = "sound";
        return RepairResult::kSound;
    }
    if (mode == RepairMode::kCheck) {
        report = "a cut save left: " + mended.found + "; run 'tessera repair'";
        return RepairResult::kNeedsRepair;
    }
    std::u16string copy = RepairCopyPath(path, now);
    if (!WriteNewFile(copy, original)) {
        report = "cannot write the copy of the file";
        return RepairResult::kRefused;
    }
    if (!file.Seek(0) || !file.WriteExact(image.data(), static_cast<uint32_t>(image.size()))) {
        report = "the repair could not be written; the file's bytes are in the copy";
        return RepairResult::kRefused;
    }
    report = (mended.salvaged ? "" : "repaired: ") + mended.found;
    return RepairResult::kRepaired;
}
