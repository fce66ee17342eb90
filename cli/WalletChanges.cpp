#include "cli/WalletChanges.h"

#include <algorithm>
#include <ostream>

#include "cli/CardEdits.h"
#include "cli/PasswordPrompt.h"
#include "cli/WalletSession.h"
#include "model/ItemChanges.h"
#include "model/NameRules.h"
#include "cli/SaveMessages.h"
#include "platform/Utf16.h"

namespace {

constexpr uint32_t kIconCount = 80;

// Card and category icons alike come from the 80-icon library.
bool ValidIcon(const std::optional<uint32_t>& icon, std::ostream& err) {
    if (!icon || *icon < kIconCount) return true;
    err << "tessera: --icon takes 0 to " << kIconCount - 1 << "\n";
    return false;
}

// Each secret is read after the wallet password, in the order the names were given.
bool ApplySecrets(const WalletCommandOptions& options, CTesseraItem& card, std::istream& in,
                  std::ostream& err) {
    for (const std::string& name : options.secrets) {
        SecureBytes bytes;
        if (!ReadSecret(name + ": ", options.phone.passwordStdin, in, bytes, err)) return false;
        std::u16string value(bytes.size() / 2, u'\0');
        for (size_t i = 0; i < value.size(); ++i)
            value[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        std::string error;
        bool applied = ApplySecret(card, name, value, error);
        SecureZero(value.data(), value.size() * sizeof(char16_t));
        if (!applied) {
            err << "tessera: " << error << "\n";
            return false;
        }
    }
    return true;
}

// Icon and category changes touch the card's modification time; values and the name do not.
bool ApplyCardOptions(CData& data, const WalletCommandOptions& options, CTesseraItem& card, std::istream& in,
                      std::ostream& err) {
    std::string error;
    if (!ValidIcon(options.icon, err)) return false;
    if (options.category && !CategoryExists(data, *options.category)) {
        err << "tessera: no category with id " << *options.category << "\n";
        return false;
    }
    if (!ApplyAssignments(card, options.sets, error)) {
        err << "tessera: " << error << "\n";
        return false;
    }
    if (!ApplySecrets(options, card, in, err)) return false;
    if (options.name && IsBlankName(Utf8ToUtf16Lossy(*options.name))) {
        err << "tessera: --name takes a name that is not blank\n";
        return false;
    }
    if (options.name) SetItemName(card, Utf8ToUtf16Lossy(*options.name));
    if (options.icon) ChangeIcon(card, *options.icon);
    if (options.category) ChangeCategory(card, static_cast<uint32_t>(*options.category));
    return true;
}

bool ValidCategoryName(const std::string& name, std::ostream& err) {
    const std::u16string units = Utf8ToUtf16Lossy(name);
    if (!IsBlankName(units) && units.size() < ItemField::kNameUnits) return true;
    err << "tessera: a category name holds 1 to 63 characters, not all blank\n";
    return false;
}

// No other category than `id` (0 for a new one) has the name.
bool FreeCategoryName(const CData& data, int32_t id, const std::string& name, std::ostream& err) {
    if (CheckCategoryName(data.categories, id, Utf8ToUtf16Lossy(name)) == NameProblem::None) return true;
    err << "tessera: another category is named \"" << name << "\"; choose another name\n";
    return false;
}

const category_struct* FindCategory(CData& data, int32_t id) {
    for (const category_struct& category : data.categories)
        if (category.id == id) return &category;
    return nullptr;
}

}  // namespace

bool CategoryExists(CData& data, int32_t id) {
    return id == 0 || std::any_of(data.categories.begin(), data.categories.end(),
                                  [id](const category_struct& c) { return c.id == id; });
}

int Written(bool ok, const CData& data, std::ostream& err) {
    if (ok) return kExitOk;
    switch (data.LastChange()) {
        case CTesseraEncryptedLinkList::kChangeInUse:
            err << "tessera: " << kWalletInUseLine << "\n";
            break;
        case CTesseraEncryptedLinkList::kChangeStale:
            break;  // the command runs again on the wallet as it now is (RunOnWallet)
        default:
            err << "tessera: the change could not be written to the phone\n";
    }
    return kExitFailed;
}

int AddCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    if (options.blank == options.templateId.has_value()) {
        err << "tessera: add takes either --blank or --template ID\n";
        return kExitFailed;
    }
    return RunOnWallet(options.phone, in, err, true, [&](CData& data) -> int {
        if (options.templateId && !data.FindRecordEntry(CData::kTemplateStore, *options.templateId)) {
            err << "tessera: no template with id " << *options.templateId << "\n";
            return kExitFailed;
        }
        std::unique_ptr<CTesseraItem> card =
            options.templateId ? data.NewCardFromTemplate(*options.templateId) : NewBlankCard();
        if (!card || !ApplyCardOptions(data, options, *card, in, err)) return kExitFailed;
        uint32_t id = data.TakeCardId();
        if (int status = Written(id != 0 && data.AddCard(*card, id), data, err)) return status;
        out << id << "\n";
        return kExitOk;
    });
}

int EditCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunOnWallet(options.phone, in, err, true, [&](CData& data) -> int {
        uint32_t id = options.id;
        std::unique_ptr<CTesseraItem> card = data.ReadCardRecord(id);
        if (!card) {
            err << "tessera: no card with id " << id << "\n";
            return kExitFailed;
        }
        if (!ApplyCardOptions(data, options, *card, in, err)) return kExitFailed;
        if (int status = Written(data.UpdateCard(*card, id), data, err)) return status;
        out << id << "\n";
        return kExitOk;
    });
}

int RemoveCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunOnWallet(options.phone, in, err, true, [&](CData& data) -> int {
        for (uint32_t id : options.ids) {
            if (!data.FindRecordEntry(CData::kWalletStore, id)) {
                err << "tessera: no card with id " << id << "\n";
                return kExitFailed;
            }
            if (int status = Written(data.DeleteCard(id), data, err)) return status;
            out << id << "\n";
        }
        return kExitOk;
    });
}

int AddCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    if (!ValidCategoryName(options.categoryName, err) || !ValidIcon(options.icon, err)) return kExitFailed;
    return RunOnWallet(options.phone, in, err, true, [&](CData& data) -> int {
        if (!FreeCategoryName(data, 0, options.categoryName, err)) return kExitFailed;
        int32_t id = data.TakeCategoryId();
        uint32_t icon = options.icon.value_or(0);
        if (id == 0) {
            err << "tessera: every category id is taken\n";
            return kExitFailed;
        }
        bool added = data.AddCategory(Utf8ToUtf16Lossy(options.categoryName), PackCategory(id, icon));
        if (int status = Written(added, data, err)) return status;
        out << id << "\n";
        return kExitOk;
    });
}

int RenameCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    if (!ValidCategoryName(options.categoryName, err) || !ValidIcon(options.icon, err)) return kExitFailed;
    return RunOnWallet(options.phone, in, err, true, [&](CData& data) -> int {
        int32_t id = static_cast<int32_t>(options.id);
        const category_struct* category = FindCategory(data, id);
        if (!category) {
            err << "tessera: no category with id " << id << "\n";
            return kExitFailed;
        }
        if (!FreeCategoryName(data, id, options.categoryName, err)) return kExitFailed;
        uint32_t icon = options.icon.value_or(static_cast<uint32_t>(category->icon));
        bool renamed = data.UpdateCategory(Utf8ToUtf16Lossy(options.categoryName), PackCategory(id, icon));
        if (int status = Written(renamed, data, err)) return status;
        out << id << "\n";
        return kExitOk;
    });
}

int RemoveCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    return RunOnWallet(options.phone, in, err, true, [&](CData& data) -> int {
        int32_t id = static_cast<int32_t>(options.id);
        if (!FindCategory(data, id)) {
            err << "tessera: no category with id " << id << "\n";
            return kExitFailed;
        }
        bool removed = data.DeleteCategory(id) && data.ReleaseCategoryCards(id, options.deleteCards);
        if (int status = Written(removed, data, err)) return status;
        out << id << "\n";
        return kExitOk;
    });
}
