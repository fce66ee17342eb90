#pragma once
// The main view as the list pane sees it: what it was asked to show. While refuse is set it keeps its
// record (unsaved changes it could not save) and moves the list's selection back to keptCard.
#include "ui/rules/ItemView.h"
#include "ui/rules/ListRows.h"

struct ShownRecords : ItemView {
    bool SwitchPane(ListKind) override { return true; }
    bool ShowCard(int32_t id, bool isNew, int32_t, bool) override { return Show(ListKind::Cards, id, isNew); }
    bool ShowTemplate(int32_t id, bool isNew, bool) override { return Show(ListKind::Templates, id, isNew); }
    bool ShowCategory(int32_t id, bool isNew, bool) override { return Show(ListKind::Categories, id, isNew); }
    void ShowBackup(const std::u16string& name) override { shown.push_back({ListKind::Backups, 0, name}); }
    bool PromptSaveChanges(ListKind) override { return true; }
    void LockEditing() override {}
    bool IsEditing() const override { return editing; }
    std::optional<int32_t> ShownRecord(ListKind kind) const override {
        if (shown.empty() || shown.back().kind != kind || shown.back().id < 0) return std::nullopt;
        return shown.back().id;
    }
    bool Show(ListKind kind, int32_t id, bool isNew) {
        shown.push_back({kind, id, isNew ? u"new" : u""});
        if (refuse && list) list->SelectRecord(ListKind::Cards, keptCard);
        return !refuse;
    }

    std::vector<ListItem> shown;
    bool refuse = false, editing = false;
    ListRows* list = nullptr;
    int32_t keptCard = 0;
};
