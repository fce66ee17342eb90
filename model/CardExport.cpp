#include "model/CardExport.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "model/CsvCards.h"
#include "model/Data.h"
#include "model/FieldType.h"
#include "model/WalletJson.h"
#include "platform/PrivateFile.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

constexpr size_t kFlushSize = 64 * 1024;

void AppendUnit(SecureBytes& out, char16_t unit) {
    out.push_back(static_cast<uint8_t>(unit));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

void AppendAscii(SecureBytes& out, std::string_view text) {
    for (char c : text) AppendUnit(out, static_cast<char16_t>(c));
}

// "%m_%d_%Y %H:%M:%S" of the fields as stored, with no time-zone conversion.
std::string FormatTime(const SYSTEMTIME& t) {
    int fields[6] = {t.wMonth, t.wDay, t.wYear, t.wHour, t.wMinute, t.wSecond};
    if (!IsCalendarTime(t)) {
        time_t epoch = 0;
        tm local{};
        localtime_r(&epoch, &local);
        int start[6] = {local.tm_mon + 1, local.tm_mday, local.tm_year + 1900,
                        local.tm_hour,    local.tm_min,  local.tm_sec};
        std::copy(std::begin(start), std::end(start), fields);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%02d_%02d_%04d %02d:%02d:%02d", fields[0], fields[1], fields[2],
                  fields[3], fields[4], fields[5]);
    return text;
}

void AppendValue(SecureBytes& out, const ItemField& field) {
    if (field.length() == 0) return;
    AppendUnit(out, u'"');
    if (IsTimeField(field.type))
        AppendAscii(out, FormatTime(FieldTime(field)));
    else
        AppendFieldText(field, out);
    AppendUnit(out, u'"');
}

void AppendQuotedName(SecureBytes& out, const ItemField& field) {
    AppendUnit(out, u'"');
    for (size_t i = 0; i < ItemField::kNameUnits && field.name[i]; ++i) AppendUnit(out, field.name[i]);
    AppendUnit(out, u'"');
}

// One line: an entry per field, separated by commas.
void AppendLine(SecureBytes& out, const CTesseraItem& card,
                void (*appendEntry)(SecureBytes&, const ItemField&)) {
    for (auto* node = card.fields.head; node; node = node->next) {
        if (node != card.fields.head) AppendUnit(out, u',');
        appendEntry(out, node->element);
    }
    AppendAscii(out, "\r\n");
}

bool WriteAll(int fd, const SecureBytes& bytes) {
    const uint8_t* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, p, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        p += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

bool WriteCards(CTesseraEncryptedLinkList& store, int fd) {
    SecureBytes out;
    out.reserve(2 * kFlushSize);
    for (auto* node = store.records.head; node; node = node->next) {
        if (node->element.deleted) continue;
        CTesseraItem card;
        SecureBytes payload;
        if (store.GetRecordData(&node->element, &payload) > 0)
            card.Deserialize(payload.data(), payload.size());
        AppendLine(out, card, AppendQuotedName);
        AppendLine(out, card, AppendValue);
        if (out.size() >= kFlushSize) {
            if (!WriteAll(fd, out)) return false;
            out.clear();
        }
    }
    return WriteAll(fd, out);
}

}  // namespace

bool ExportCards(CTesseraEncryptedLinkList& walletStore, const std::filesystem::path& file,
                 std::string& error) {
    tzset();
    return WritePrivateFile(
        file, [&](int fd) { return WriteCards(walletStore, fd); }, error);
}

size_t ForEachCard(CTesseraEncryptedLinkList& store, const std::function<void(const CTesseraItem&)>& visit) {
    size_t unreadable = 0;
    for (auto* node = store.records.head; node; node = node->next) {
        if (node->element.deleted) continue;
        CTesseraItem card;
        SecureBytes payload;
        if (store.GetRecordData(&node->element, &payload) > 0 &&
            card.Deserialize(payload.data(), payload.size()))
            visit(card);
        else
            ++unreadable;
    }
    return unreadable;
}

std::u16string CategoryName(const CData& data, int32_t id) {
    for (const category_struct& category : data.categories)
        if (category.id == id) return category.name;
    return {};
}

bool ExportWallet(CData& data, ExportFormat format, const std::filesystem::path& file, ExportCount& count,
                  std::string& error) {
    CTesseraEncryptedLinkList* wallet = data.WalletStore();
    if (!wallet) {
        error = "no wallet is open";
        return false;
    }
    if (format == ExportFormat::Text) {
        for (auto* node = wallet->records.head; node; node = node->next)
            count.written += node->element.deleted ? 0 : 1;
        return ExportCards(*wallet, file, error);
    }
    SecureBytes bytes = format == ExportFormat::Csv ? CardsToCsv(data, count.written, count.unreadable)
                                                    : WalletToJson(data, count.written, count.unreadable);
    return WritePrivateFile(
        file, [&](int fd) { return WriteAll(fd, bytes); }, error);
}
