#pragma once
// The plug-in's main view: a child of the host frame that takes the web view's place as the frame's
// main view while a wallet page is shown. It shows one card, template or category (or a backup) and
// owns its editing: it keeps the record being edited, asks before unsaved changes are lost, saves
// through the model, and keeps a changed card as a draft when the wallet locks.
#include <wx/panel.h>
#include <wx/timer.h>

#include <memory>

#include "model/ModelListener.h"
#include "model/ModelRecords.h"
#include "ui/CardCtrlGroup.h"
#include "ui/ClipboardGuard.h"
#include "ui/ItemView.h"

class CBackupPane;
class CData;
class CFormWnd;
class CMyIconList;
class CMyListCtrl;
class CTesseraItem;
class CategoryBox;
class ListRows;
class wxBitmapButton;
class wxButton;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;

class CMyView : public wxPanel, public ItemView, public ModelListener {
public:
    struct Links {
        CData* data = nullptr;
        CMyIconList* icons = nullptr;
        FormFonts fonts;
        ClipboardAccess* clipboard = nullptr;  // the system's when none is given
    };
    static constexpr int kMinSize = 400;
    static constexpr int kMaxSize = 700;

    CMyView(wxWindow* parent, Links links);
    ~CMyView() override;

    // The initial update that follows creation.
    void InitialUpdate();
    bool OnCommand(int id, int code, void* extra);
    // The list pane whose rows the view removes or refreshes.
    void SetListRows(ListRows* list) { rows = list; }

    bool SwitchPane(int pane) override;
    void ShowCard(int32_t id, bool isNew, int32_t templateId, bool startEditing) override;
    void ShowTemplate(int32_t id, bool isNew, bool startEditing) override;
    void ShowCategory(int32_t id, bool isNew, bool startEditing) override;
    void ShowBackup(const std::u16string& name) override;
    bool PromptSaveChanges(int pane) override;
    void LockEditing() override;
    // The session ended (the phone went away): nothing can be saved any more, and nothing read stays shown.
    void ForgetRecord();
    bool IsEditing() const override { return editing; }

    void RowChanged(ListKind, int32_t) override {}
    void CategoryAdded(int32_t id, const std::u16string& name) override;
    void CategoryRenamed(int32_t id, const std::u16string& name) override;
    void CategoryRemoved(int32_t id) override;
    void CategoriesReloaded() override;

    void FillCategoryBox();
    void RemoveCategoryEntry(int32_t id);
    void RenameCategoryEntry(const category_struct& category);

    // The buttons' commands.
    void StartEditing();
    // False (a message told, edit mode kept) when the phone did not take the change.
    bool Save();
    void Cancel();
    // The field editor on the shown card or template, and the icon chooser (edit mode).
    void EditFields();
    void ChooseIcon();

    int CurrentPane() const { return currentPane; }
    int32_t CurrentId() const { return currentId; }
    bool IsNew() const { return isNew; }
    const CTesseraItem* Card() const { return currentCard.get(); }
    CFormWnd* Form() const { return form; }
    ClipboardGuard& Clipboard() { return guard; }
    // Where the form and the template's field list lie.
    wxRect FormRect() const;
    wxRect FieldListRect() const;

private:
    void CreateControls();
    void ShowEmpty(int pane);
    void Present(int pane, bool found, bool newRecord, int32_t id, bool startEditing);
    void EndDialogsAndClipboard();
    void SetPane(int pane);
    void FillCard();
    void FillTemplate();
    bool FillCategory();
    void FillFieldList();
    void ShowIcon(int icon);
    bool RecordShown() const;
    void ShowControls();
    void Arrange();
    void CollectShown();
    bool SaveShown();
    bool SaveCard();
    bool SaveTemplate();
    bool SaveCategory();
    void DropNewRecord();
    void KeepShownRow();
    int32_t ShownId() const;
    void ReportFailedSave();
    int RunDialog(class wxDialog& dialog, bool& openFlag);
    void CopyPassword(const wxString& text);
    void OnButton(wxCommandEvent& event);
    void OnCategoryChosen(wxCommandEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnClipboardTimer(wxTimerEvent& event);

    Links links;
    ListRows* rows = nullptr;
    SystemClipboard systemClipboard;
    ClipboardGuard guard;
    wxTimer clipboardTimer;

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

    int currentPane = kPaneNone;
    bool editing = false;
    bool fieldDialogOpen = false;
    std::unique_ptr<CTesseraItem> currentTemplate;
    int32_t categoryIcon = 0;
    int32_t categoryId = -1;
    std::u16string categoryName;
    bool iconDialogOpen = false;
    // The field editor or the icon dialog while one runs from this view.
    class wxDialog* openDialog = nullptr;
    int32_t currentId = 0;
    bool isNew = false;
    bool modified = false;
    std::unique_ptr<CTesseraItem> currentCard;
    // A prompt is open: what the list asks meanwhile (its selection moving under the prompt) waits.
    bool prompting = false;
};
