#include "store/StoreRepair.h"

#include <cstdio>
#include <map>
#include <new>
#include <set>
#include <vector>

#include "platform/ByteOrder.h"
#include "store/PhoneFile.h"
#include "store/StoreFormat.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

constexpr uint32_t kPasswordHashSize = CTesseraEncryptedLinkList::kPasswordHashSize;

struct Findings {
    std::vector<uint32_t> olderCopies;  // live records whose id a later live record has too
    uint32_t partialAt = 0;             // where a partial record at the end starts, 0 when none
};

// Walks the record area; false when the password section does not fit.
bool Scan(const Bytes& image, Findings& found) {
    if (image.size() < kStoreHeaderSize + 4) return false;
    uint64_t position =
        uint64_t(kStoreHeaderSize) + 4 + GetU32(image.data() + kStoreHeaderSize) + kPasswordHashSize;
    if (position > image.size()) return false;
    std::map<uint32_t, uint32_t> lastOfId;
    while (position + 4 <= image.size()) {
        RecordHead head;
        if (position + kRecordHeadSize <= image.size()) head = DecodeRecordHead(image.data() + position);
        uint64_t end = position + kRecordHeadSize + head.length;
        if (position + kRecordHeadSize > image.size() || end > image.size()) {
            found.partialAt = static_cast<uint32_t>(position);
            break;
        }
        if (head.deleted == kRecordLive) {
            auto [it, first] = lastOfId.try_emplace(head.id, static_cast<uint32_t>(position));
            if (!first)
                found.olderCopies.push_back(std::exchange(it->second, static_cast<uint32_t>(position)));
        }
        position = end;
    }
    return true;
}

// The partial record at the end becomes a deleted record over the bytes that are there.
void CloseTail(Bytes& image, uint32_t at) {
    if (image.size() - at < kRecordHeadSize) image.resize(at + kRecordHeadSize, 0);
    EncodeRecordHead({kRecordDeleted, 0, at, static_cast<uint32_t>(image.size() - at - kRecordHeadSize)},
                     image.data() + at);
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
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, ".repair-%04u%02u%02u%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return path + std::u16string(stamp, stamp + std::char_traits<char>::length(stamp));
}

RepairResult RepairStoreFile(const std::u16string& path, uint32_t fileType, const SecureBytes& password,
                             const SYSTEMTIME& now, std::string& report, bool checkOnly) {
    PhoneFile file;  // held without sharing for the whole repair
    Bytes original;
    if (!file.Open(path, GENERIC_READ | GENERIC_WRITE) || !ReadAll(file, original)) {
        report = "cannot read the file";
        return RepairResult::kRefused;
    }
    Findings found;
    if (!Scan(original, found)) {
        report = "the password section is damaged";
        return RepairResult::kRefused;
    }
    Bytes image = original;
    for (uint32_t older : found.olderCopies)
        PutU32(image.data() + older + kRecordDeletedOffset, kRecordDeleted);
    if (found.partialAt) CloseTail(image, found.partialAt);
    SealStoreFile(image.data(), image.size());
    if (RepairResult verdict = Verify(path, fileType, password, image, report);
        verdict != RepairResult::kSound)
        return verdict;
    if (image == original) {
        report = "sound";
        return RepairResult::kSound;
    }
    report = "checksum";
    if (!found.olderCopies.empty())
        report += ", " + std::to_string(found.olderCopies.size()) + " older copies";
    if (found.partialAt) report += ", a partial record at the end";
    if (checkOnly) {
        report = "a cut save left: " + report + "; run 'tessera repair'";
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
    report = "repaired: " + report;
    return RepairResult::kRepaired;
}
