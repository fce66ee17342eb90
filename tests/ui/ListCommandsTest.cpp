// The list pane's commands without a window, over a wallet on a phone folder: which row stays selected
// for the record shown, Invert, New and its pending row, Delete from the last row up (and what guards
// it), Save as Template.
#include <thread>

#include "ShownRecords.h"
#include "model/ModelFixture.h"
#include "platform/rapi/api/Rapi.h"
#include "ui/resources/Resource.h"
#include "ui/rules/ListCommands.h"
#include "ui/rules/SessionGate.h"

namespace {

// The window as a person uses it: the selection marks, the answers given, what was said.
struct MarkedRows : ListScreen, SessionGate {
    bool Visible() const override { return true; }
    std::vector<int> SelectedRows() const override { return selected; }
    int FocusedRow() const override { return focused; }
    void Select(const std::vector<int>& rows, int focus) override {
        selected = rows;
        if (focus >= 0) focused = focus;
    }
    void RowsChanged() override {}
    void RowDeleted(int row) override { deleted.push_back(row); }
    std::u16string Text(unsigned id) const override {
        return id == IDS_NEW_CATEGORY_NAME ? u"New Category" : u"?";
    }
    bool Ask(unsigned text, unsigned) override { return Answer(text); }
    void Tell(unsigned text) override { told.push_back(text); }
    std::optional<bool> AskDeleteCategory() override {
        return Answer(IDS_DELETE_CATEGORY_CONFIRM) ? std::optional(withCards) : std::nullopt;
    }
    std::optional<int32_t> ChooseTemplate() override { return -1; }
    void RunWithProgress(const std::function<void()>& work) override {
        busyDuringWork = commands->Busy();
        std::thread(work).join();  // the worker has a phone connection of its own
    }
    void OnScreenThread(const std::function<void()>& work) override {
        heldDuringWork = holds > 0;
        work();
    }
    void ClearFindBox() override {}
    void FocusFindBox() override {}
    void Backup() override {}
    void Export() override {}
    void Import() override {}
    void ShowPane(bool) override {}
    void Enter() override { ++holds; }
    void Leave() override { --holds; }
    std::unique_ptr<WorkerConnection> ConnectWorker() override {
        struct RapiWorker : WorkerConnection {
            RapiConnection connection;
        };
        auto worker = std::make_unique<RapiWorker>();
        return worker->connection.Ok() ? std::move(worker) : nullptr;
    }
    bool Answer(unsigned question) {
        told.push_back(question);
        return !std::exchange(no, false);
    }

    ListCommands* commands = nullptr;
    std::vector<int> selected, deleted;
    int focused = -1;
    std::vector<unsigned> told;
    bool no = false, withCards = false, busyDuringWork = false, heldDuringWork = false;
    int holds = 0;
};

class ListCommandsTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        for (int i = 0; i < 5; ++i) ids.push_back(AddCard(std::u16string(1, u'a' + i), i % 2 ? 2 : 0));
        ASSERT_TRUE(data.AddCategory(u"work", PackCategory(2, 0)));
        screen.commands = &commands;
        content.Show(ListKind::Cards);
    }
    void Pick(int row) {  // by the user
        screen.Select({row}, row);
        commands.RowFocused(row);
    }
    std::u16string Names() {
        std::u16string names;
        for (int row = 0; row < content.RowCount(); ++row) names += content.Text(row, 0);
        return names;
    }

    std::vector<uint32_t> ids;
    ShownRecords view;
    MarkedRows screen;
    ListContent content{data, nullptr};
    ListCommands commands{
        content, screen, {&data, {}, {}, [] { return true; }, {}, {}, &screen, [this] { return &view; }}};
};

TEST_F(ListCommandsTest, TheShownRecordStaysSelectedWhileListedAndNothingIsShownOnceItIsNot) {
    Pick(1);  // card "b", of category 2
    commands.FilterChosen(2);
    EXPECT_EQ(screen.selected, std::vector<int>{0}) << "b is the first of the two cards of work";
    commands.Run(ID_FIND);
    commands.FindText(u"zz");
    EXPECT_EQ(content.RowCount(), 0);
    EXPECT_EQ(view.shown.back(), (ListItem{ListKind::Cards, -1, {}})) << "the view shows nothing";
    commands.Run(ID_FIND);
    EXPECT_EQ(Names(), u"bd") << "find off lists what the filter lets through";
    EXPECT_TRUE(screen.selected.empty());
    Pick(1);
    commands.FilterChosen(kAllCategories);
    EXPECT_EQ(screen.selected, std::vector<int>{3});
}

TEST_F(ListCommandsTest, InvertSelectsTheOtherRowsAndShowsTheLastOrNothing) {
    for (auto [before, after] : {std::pair{std::vector<int>{1, 2}, std::vector<int>{0, 3, 4}},
                                 {{0, 1, 2, 3, 4}, {}},
                                 {{}, {0, 1, 2, 3, 4}}}) {
        screen.selected = before;
        commands.Run(ID_INVERT_SELECTION);
        EXPECT_EQ(screen.selected, after);
        EXPECT_EQ(view.shown.back().id, after.empty() ? -1 : int32_t(ids[4]));
    }
}

TEST_F(ListCommandsTest, ANewRowStandsUntilTheViewStoresOrDropsItAndNoneWhenTheViewKeepsItsRecord) {
    content.Show(ListKind::Categories);
    const int rows = content.RowCount();
    commands.Run(ID_NEW_CONTEXT);
    ASSERT_EQ(content.RowCount(), rows + 1);
    const int at = content.FindRow(3);
    EXPECT_EQ(content.Text(at, 0), u"New Category");
    EXPECT_LT(at, content.FindRow(2)) << "among the categories by its name";
    EXPECT_EQ(screen.selected, std::vector<int>{at});
    EXPECT_EQ(view.shown.back(), (ListItem{ListKind::Categories, 3, u"new"}));
    view.refuse = true;
    commands.Run(ID_NEW_CONTEXT);
    commands.Run(ID_NEW_CARD);
    EXPECT_EQ(content.RowCount(), rows + 1);
}

// Cards go from the last selected row up while the session is held; "No", an edit in progress or nothing
// selected deletes nothing; a category goes with its cards or without them.
TEST_F(ListCommandsTest, DeleteWalksUpTheSelectionAndOnlyWhenAllowedAndConfirmed) {
    screen.selected = {1, 4};
    screen.focused = 1;
    screen.no = true;
    commands.Run(ID_DELETE);
    view.editing = true;
    commands.Run(ID_DELETE);
    EXPECT_EQ(screen.told, std::vector<unsigned>{IDS_DELETE_CARD_CONFIRM}) << "not asked while editing";
    view.editing = false;
    commands.Run(ID_DELETE);
    EXPECT_EQ(screen.deleted, (std::vector<int>{4, 1}));
    EXPECT_EQ(Names(), u"acd");
    EXPECT_EQ(Reloaded()->cards.size(), 3u);
    EXPECT_TRUE(screen.busyDuringWork && screen.heldDuringWork && !commands.Busy() && screen.holds == 0);
    EXPECT_EQ(screen.selected, std::vector<int>{1}) << "the focus keeps its place";
    ASSERT_FALSE(view.shown.empty());
    EXPECT_EQ(view.shown.back().id, int32_t(ids[2])) << "and the view shows what it landed on";
    screen.selected.clear();
    commands.Run(ID_DELETE);
    EXPECT_EQ(screen.told.size(), 2u) << "nothing selected, nothing asked";

    content.Show(ListKind::Categories);
    const int rows = content.RowCount();
    screen.selected = {content.FindRow(2)};
    screen.withCards = true;
    commands.Run(ID_DELETE);
    EXPECT_EQ(content.RowCount(), rows - 1);
    EXPECT_EQ(content.FindRow(2), -1);
    EXPECT_EQ(Reloaded()->cards.size(), 2u) << "card d of work went with it";
}

TEST_F(ListCommandsTest, SaveAsTemplateTakesTheFocusedStoredCardNotANewOne) {
    screen.focused = 2;
    commands.Run(ID_SAVE_AS_TEMPLATE);
    ASSERT_EQ(Reloaded()->templates.size(), 1u);
    EXPECT_EQ(Reloaded()->templates[0].name, u"c");
    commands.Run(ID_NEW_CARD);  // the template store holds one now: the choice is asked, the row pending
    ASSERT_EQ(screen.focused, 5);
    commands.Run(ID_SAVE_AS_TEMPLATE);
    EXPECT_EQ(screen.told, (std::vector<unsigned>{IDS_TEMPLATE_SAVED, IDS_SAVE_AS_TEMPLATE_FAILED}));
    EXPECT_EQ(Reloaded()->templates.size(), 1u);
}

}  // namespace
