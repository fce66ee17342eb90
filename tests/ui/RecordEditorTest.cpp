// The record editor without a window: every event in every state of a card, checking after each step that
// no edit is lost unless the user said No, nothing decrypted stays after a lock or a reset, and the record
// shown is the record stored; then a plain refused save, and a stale one carried onto the stored card.

#include <deque>

#include "model/ModelFixture.h"
#include "ui/resources/Resource.h"
#include "ui/rules/FieldCollect.h"
#include "ui/rules/ListRows.h"
#include "ui/rules/RecordEditor.h"
#include "ui/rules/SessionGate.h"

namespace {

ItemField& FieldNamed(CTesseraItem& item, std::u16string_view name) {
    auto* node = item.fields.head;
    while (node->element.Name() != name) node = node->next;
    return node->element;
}

// The screen as a person uses it: what they typed into the name box and the rows (taken at each
// collect until the screen is loaded anew), and the answers they give.
struct ScriptedScreen : EditorScreen {
    void Present(bool reload) override {
        if (reload) typedName.reset(), typedFields.clear();
    }
    bool Collect() override {
        bool changed = typedName && editor->CollectName(*typedName);
        CTesseraItem* item = editor->Edited();
        for (auto& [name, text] : typedFields) changed |= item && CollectText(FieldNamed(*item, name), text);
        return changed;
    }
    bool Ask(unsigned text, const std::u16string& what) override {
        asked.push_back(text);
        askedAbout.push_back(what);
        if (auto interrupt = std::exchange(duringQuestion, nullptr)) interrupt();
        const bool yes = answers.empty() || answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    void Tell(unsigned text, bool) override { told.push_back(text); }
    bool RunSave(ListKind, const std::function<bool()>& save) override { return save(); }
    void EndDialogs() override {}

    RecordEditor* editor = nullptr;
    std::optional<std::u16string> typedName;
    std::vector<std::pair<std::u16string, std::u16string>> typedFields;
    std::deque<bool> answers;
    std::function<void()> duringQuestion;
    std::vector<unsigned> asked, told;
    std::vector<std::u16string> askedAbout;
};

// The session's rule: a lock or a reset waits for the question that holds it.
struct HoldingSession : SessionGate {
    void Enter() override { ++holds; }
    std::unique_ptr<WorkerConnection> ConnectWorker() override { return nullptr; }  // no worker here
    void Leave() override {
        if (--holds > 0) return;
        if (std::exchange(resetHeld, false)) Forget();
        if (std::exchange(lockHeld, false)) editor->Lock();
    }
    void Lock() { holds ? void(lockHeld = true) : editor->Lock(); }
    void Reset() { holds ? void(resetHeld = true) : Forget(); }
    // As the session's reset: the view forgets its record, then the model lets its stores go.
    void Forget() {
        editor->Forget();
        data->Reset();
    }

    RecordEditor* editor = nullptr;
    CData* data = nullptr;
    int holds = 0;
    bool lockHeld = false, resetHeld = false;
};

enum class Start { Viewing, EditingUnchanged, EditingChanged, EditingNew };
enum class Event {
    OtherCard,
    OtherPane,
    Hide,
    Save,
    Cancel,
    Lock,
    Reset,
    LockDuringQuestion,
    ResetDuringQuestion
};
// Where the user's typed name ends: on the phone, as a draft, or gone (as the user chose).
enum class Typed { Stored, Drafted, Gone };

class RecordEditorTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        screen.editor = session.editor = &editor;
        session.data = &data;
    }
    // A wallet of two cards, nothing shown, nothing scripted.
    void Restart() {
        editor.Forget();
        if (!data.HasStores()) Open(data);
        while (!data.cards.empty()) ASSERT_TRUE(data.DeleteCard(uint32_t(data.cards.back().id)));
        shownId = AddCard(u"Bank");
        otherId = AddCard(u"Other");
        screen.asked.clear();
    }
    void Begin(Start start) {
        if (start == Start::EditingNew) {
            newId = data.TakeCardId();
            ASSERT_TRUE(editor.ShowCard(int32_t(newId), true, -1, true));
        } else {
            ASSERT_TRUE(editor.ShowCard(int32_t(shownId), false, -1, start != Start::Viewing));
        }
        if (start == Start::EditingChanged || start == Start::EditingNew) screen.typedName = u"Typed";
    }
    void Run(Event event) {
        using enum Event;
        if (event == LockDuringQuestion) screen.duringQuestion = [this] { session.Lock(); };
        if (event == ResetDuringQuestion) screen.duringQuestion = [this] { session.Reset(); };
        if (event == OtherCard || event == LockDuringQuestion || event == ResetDuringQuestion)
            editor.ShowCard(int32_t(otherId), false, -1, false);
        if (event == OtherPane) editor.SwitchPane(ListKind::Templates);
        if (event == Hide) editor.PromptSaveChanges(ListKind::Cards);
        if (event == Save) editor.Save();
        if (event == Cancel) editor.Cancel();
        if (event == Lock) session.Lock();
        if (event == Reset) session.Reset();
    }
    // Whether a card named name is on the phone now.
    bool OnPhone(std::u16string_view name) {
        std::unique_ptr<CData> phone = Reloaded();
        return std::any_of(phone->cards.begin(), phone->cards.end(),
                           [&](auto& row) { return row.name == name; });
    }

    ScriptedScreen screen;
    HoldingSession session;
    RecordEditor editor{&data, screen, u"New Category", nullptr, &session};
    uint32_t shownId = 0, otherId = 0, newId = 0;
};

TEST_F(RecordEditorTest, EveryEventInEveryStateKeepsTheInvariants) {
    using enum Event;
    struct Row {
        Start start;
        Event event;
        bool yes;
        Typed typed;
    };
    std::vector<Row> table;
    for (Start start : {Start::EditingChanged, Start::EditingNew}) {
        for (bool yes : {true, false}) {
            for (Event event : {OtherCard, OtherPane, Hide, LockDuringQuestion, ResetDuringQuestion})
                table.push_back({start, event, yes, yes ? Typed::Stored : Typed::Gone});
        }
        table.push_back({start, Save, true, Typed::Stored});
        table.push_back({start, Cancel, true, Typed::Gone});
        table.push_back({start, Lock, true, Typed::Drafted});
        table.push_back({start, Reset, true, Typed::Gone});
    }
    for (Event event : {OtherCard, OtherPane, Hide, Save, Cancel, Lock, Reset}) {
        table.push_back({Start::Viewing, event, true, Typed::Gone});
        table.push_back({Start::EditingUnchanged, event, true, Typed::Gone});
    }
    for (const Row& c : table) {
        SCOPED_TRACE(testing::Message()
                     << "start " << int(c.start) << " event " << int(c.event) << " yes " << c.yes);
        Restart();
        Begin(c.start);
        screen.answers = {c.yes};
        const bool changed = c.start == Start::EditingChanged || c.start == Start::EditingNew;
        const std::vector<uint8_t> before = ReadBytes(File());
        Run(c.event);

        const bool prompt = c.event == OtherCard || c.event == OtherPane || c.event == Hide ||
                            c.event == LockDuringQuestion || c.event == ResetDuringQuestion;
        EXPECT_EQ(screen.asked.size(), changed && prompt ? 1u : 0u);
        if (prompt && !c.yes) {
            EXPECT_FALSE(editor.Editing()) << "No lets the changes go";
        }
        EXPECT_EQ(OnPhone(u"Typed"), c.typed == Typed::Stored);
        EXPECT_EQ(OnPhone(u"Typed (Draft)"), c.typed == Typed::Drafted);
        if (!changed || c.typed == Typed::Gone) {
            EXPECT_EQ(ReadBytes(File()), before) << "nothing the user kept was written";
        }
        if (c.event == Lock || c.event == Reset || c.event == LockDuringQuestion ||
            c.event == ResetDuringQuestion) {
            EXPECT_EQ(editor.Record(), nullptr) << "no card stays after a lock or a reset";
        }
        if (editor.Mode() == EditMode::Viewing) {
            std::unique_ptr<CTesseraItem> stored = Reloaded()->ReadCardRecord(uint32_t(editor.Id()));
            ASSERT_NE(stored, nullptr);
            SecureBytes shown, kept;
            EXPECT_TRUE(editor.Record()->Serialize(shown) && stored->Serialize(kept));
            EXPECT_EQ(shown, kept) << "what is shown is what is stored";
        }
    }
}

// A refused save keeps the edit. One refused because another program changed the card reads the wallet
// again and carries the user's changes onto the card as now stored: the other program's new note and
// time stay, and where both changed a field the user chooses.
TEST_F(RecordEditorTest, ARefusedSaveKeepsTheEditAndAStaleOneCarriesItOntoTheStoredCard) {
    Restart();
    auto card = Card(u"Mail");
    AddField(*card, u"Login", u"jo");
    AddField(*card, u"PIN", u"1", kFieldNumber);
    const uint32_t id = data.TakeCardId();
    ASSERT_TRUE(data.AddCard(*card, id));
    editor.ShowCard(int32_t(id), false, -1, true);
    screen.typedFields = {{u"Login", u"joe"}, {u"PIN", u"3"}};
    faults->FailCall(RapiOp::WriteFile, 1, 5);
    EXPECT_FALSE(editor.Save());
    EXPECT_EQ(screen.told.back(), unsigned(IDS_SAVE_CARD_FAILED));
    EXPECT_TRUE(editor.Editing());
    EXPECT_EQ(FieldText(FieldNamed(*editor.Edited(), u"Login")), u"joe");

    std::unique_ptr<CData> other = Reloaded();
    std::unique_ptr<CTesseraItem> theirs = other->ReadCardRecord(id);
    AddField(*theirs, u"Note", std::u16string(300, u'n'));
    SetFieldText(FieldNamed(*theirs, u"PIN"), u"2");
    ASSERT_TRUE(other->UpdateCard(*theirs, id));
    screen.answers = {false};  // the PIN both changed: the other program's stays
    EXPECT_FALSE(editor.Save());
    EXPECT_EQ(screen.told.back(), unsigned(IDS_WALLET_CHANGED));
    EXPECT_EQ(screen.askedAbout.back(), u"PIN");
    EXPECT_TRUE(editor.Editing());
    EXPECT_TRUE(editor.Save());
    std::unique_ptr<CTesseraItem> stored = Reloaded()->ReadCardRecord(id);
    EXPECT_EQ(FieldText(FieldNamed(*stored, u"Login")), u"joe");
    EXPECT_EQ(FieldText(FieldNamed(*stored, u"PIN")), u"2");
    EXPECT_EQ(FieldText(FieldNamed(*stored, u"Note")), std::u16string(300, u'n'));
    EXPECT_EQ(Millis(stored->modified), Millis(theirs->modified)) << "the time does not go back";
}

// A blank or repeated name is refused with what to do, on Save and on Yes when leaving; what was typed stays.
TEST_F(RecordEditorTest, ABlankOrRepeatedNameIsRefusedAndWhatWasTypedStays) {
    Restart();
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(uint32_t(data.TakeCategoryId()), 0)));
    using enum ListKind;  // per case: the name typed ("Bank": the card gets two fields named User)
    const std::tuple<ListKind, std::u16string, int> cases[] = {
        {Cards, u" ", IDS_NAME_BLANK},
        {Cards, u"Bank", IDS_FIELD_NAME_REPEATED},
        {Templates, u"", IDS_NAME_BLANK},
        {Categories, u"Work\t", IDS_CATEGORY_NAME_TAKEN}};
    for (const auto& [pane, typed, told] : cases) {
        for (bool leave : {false, true}) {
            SCOPED_TRACE(testing::Message() << told << " leave " << leave);
            if (pane == Cards) editor.ShowCard(int32_t(shownId), false, -1, true);
            if (pane == Templates) editor.ShowTemplate(int32_t(data.TakeTemplateId()), true, true);
            if (pane == Categories) editor.ShowCategory(data.TakeCategoryId(), true, true);
            editor.StartEditing();  // the card already shown stays shown
            screen.typedName = typed;
            if (typed == u"Bank") {
                auto twice = Card(u"Bank");
                AddField(*twice, u"User", u"a");
                AddField(*twice, u"User ", u"b");
                editor.ReplaceFields(*twice);
            }
            const std::vector<uint8_t> wallet = ReadBytes(File()), plates = ReadBytes(TemplatesFile());
            EXPECT_FALSE(leave ? editor.PromptSaveChanges(pane) : editor.Save());
            EXPECT_EQ(std::exchange(screen.told, {}), std::vector<unsigned>{unsigned(told)});
            EXPECT_TRUE(editor.Editing());
            EXPECT_EQ(pane == Categories ? editor.Category().name : ItemName(*editor.Record()), typed);
            EXPECT_TRUE(ReadBytes(File()) == wallet && ReadBytes(TemplatesFile()) == plates);
            editor.Cancel();
        }
    }
}

}  // namespace
