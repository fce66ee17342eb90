#pragma once
// The plug-in's main view: a child of the host frame that takes the web view's place as the frame's
// main view while a wallet page is shown. It shows one card, template or category (or a backup) as its
// RecordEditor says, and forwards to it what the user does; the editing rules live there.
#include <wx/panel.h>
#include <wx/timer.h>

#include <memory>

#include "model/ModelListener.h"
#include "model/ModelRecords.h"
#include "ui/controls/CardCtrlGroup.h"
#include "ui/controls/ClipboardGuard.h"
#include "ui/rules/InputLimit.h"
#include "ui/rules/ItemView.h"
#include "ui/rules/PasswordGenerator.h"
#include "ui/rules/RecordEditor.h"

class CBackupPane;
class CData;
class CFormWnd;
class CMyIconList;
class CMyListCtrl;
class CTesseraItem;
class BackupActions;
class CategoryBox;
class ListRows;
class SessionGate;
class wxBitmapButton;
class wxButton;
class wxStaticBitmap;
class wxStaticText;
class wxStatusBar;
class wxTextCtrl;

class CMyView : public wxPanel, public ItemView, public ModelListener, private EditorScreen {
public:
    struct Links {
        CData* data = nullptr;
        CMyIconList* icons = nullptr;
        FormFonts fonts;
        ClipboardAccess* clipboard = nullptr;  // the system's when none is given
        SessionGate* gate = nullptr;           // held while the view asks the user
        GeneratorChoice* generator = nullptr;  // the password generator's settings; the view's own when none
        ListRows* rows = nullptr;              // the list pane whose rows the view removes or refreshes
        BackupActions* backups = nullptr;      // the backup pane's list and restore; none: no backup shown
    };
    static constexpr int kMinSize = 400;
    static constexpr int kMaxSize = 700;

    CMyView(wxWindow* parent, Links links);
    ~CMyView() override;

    // The initial update that follows creation.
    void InitialUpdate();
    bool OnCommand(int id, int code, void* extra);

    bool SwitchPane(ListKind pane) override { return editor.SwitchPane(pane); }
    bool ShowCard(int32_t id, bool isNew, int32_t templateId, bool startEditing) override {
        return editor.ShowCard(id, isNew, templateId, startEditing);
    }
    bool ShowTemplate(int32_t id, bool isNew, bool startEditing) override {
        return editor.ShowTemplate(id, isNew, startEditing);
    }
    bool ShowCategory(int32_t id, bool isNew, bool startEditing) override {
        return editor.ShowCategory(id, isNew, startEditing);
    }
    void ShowBackup(const std::u16string& name) override;
    bool PromptSaveChanges(ListKind pane) override { return editor.PromptSaveChanges(pane); }
    void LockEditing() override { editor.Lock(); }
    // The session ended (the phone went away): nothing can be saved any more, and nothing read stays shown.
    void ForgetRecord();
    bool IsEditing() const override { return editor.Editing(); }
    std::optional<int32_t> ShownRecord(ListKind pane) const override {
        if (editor.Pane() != pane || !editor.Shown()) return std::nullopt;
        return editor.Id();
    }

    void RowChanged(ListKind, int32_t) override {}
    void CategoryAdded(int32_t id, const std::u16string& name) override;
    void CategoryRenamed(int32_t id, const std::u16string& name) override;
    void CategoryRemoved(int32_t id) override;
    void CategoriesReloaded() override;

    void FillCategoryBox();
    void RemoveCategoryEntry(int32_t id);
    void RenameCategoryEntry(const category_struct& category);

    // The buttons' commands.
    void StartEditing() { editor.StartEditing(); }
    // False (a message told, edit mode kept) when the phone did not take the change.
    bool Save() { return editor.Save(); }
    void Cancel() { editor.Cancel(); }
    // The field editor on the shown card or template, and the icon chooser (edit mode).
    void EditFields();
    void ChooseIcon();

    ListKind CurrentPane() const { return editor.Pane(); }
    int32_t CurrentId() const { return editor.Id(); }
    bool IsNew() const { return editor.IsNew(); }
    const CTesseraItem* Card() const { return editor.Pane() == ListKind::Cards ? editor.Record() : nullptr; }
    const RecordEditor& Editor() const { return editor; }
    CFormWnd* Form() const { return form; }
    ClipboardGuard& Clipboard() { return guard; }
    // Where the form and the template's field list lie.
    wxRect FormRect() const;
    wxRect FieldListRect() const;

private:
    // What the editor asks of the view.
    void Present(bool reload) override;
    bool Collect() override;
    bool Ask(unsigned text, const std::u16string& name) override;
    void Tell(unsigned text, bool error) override;
    bool RunSave(ListKind pane, const std::function<bool()>& save) override;
    void EndDialogs() override;

    void CreateControls();
    void LoadShown();
    void FillFieldList(const CTesseraItem& item);
    void ShowIcon(int icon);
    void ShowControls();
    void Arrange();
    int RunDialog(class wxDialog& dialog, bool& openFlag);
    void CopyPassword(const wxString& text);
    bool ChooseGenerator(bool replacing, GeneratorChoice& choice);
    void ClipboardCleared();
    wxStatusBar* StatusBar() const;
    void OnButton(wxCommandEvent& event);
    void OnCategoryChosen(wxCommandEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnClipboardTimer(wxTimerEvent& event);

    Links links;
    RecordEditor editor;
    SystemClipboard systemClipboard;
    ClipboardGuard guard;
    GeneratorChoice ownGenerator;
    wxTimer clipboardTimer;
    // The name box takes 255 typed characters, 63 for a category.
    InputLimit nameLimit{255};

    wxButton* editButton = nullptr;
    wxButton* saveButton = nullptr;
    wxButton* cancelButton = nullptr;
    wxButton* fieldsButton = nullptr;
    wxTextCtrl* nameBox = nullptr;
    wxBitmapButton* iconButton = nullptr;
    wxStaticBitmap* iconPicture = nullptr;
    wxStaticText* categoryLabel = nullptr;
    CategoryBox* categoryBox = nullptr;
    CFormWnd* form = nullptr;
    CMyListCtrl* fieldList = nullptr;
    CBackupPane* backupPane = nullptr;

    // Edit mode as last shown: entering it puts the cursor in the name box.
    bool editingShown = false;
    bool fieldDialogOpen = false;
    bool iconDialogOpen = false;
    // The field editor or the icon dialog while one runs from this view.
    class wxDialog* openDialog = nullptr;
};
