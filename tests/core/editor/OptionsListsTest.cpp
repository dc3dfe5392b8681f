#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "editor/SelectableList.h"
#include "editor/SelectionGroupRows.h"

namespace stonereach {
namespace {

using Entries = SelectableList<std::string>;

std::vector<std::string> letters(std::string_view text) {
    std::vector<std::string> items;
    for (const char c : text)
        items.emplace_back(1, c);
    return items;
}

struct ListCase {
    const char* name;
    const char* items;                   // one item per letter
    std::optional<std::size_t> selected;  // before the action
    std::function<void(Entries&)> action;
    const char* itemsAfter;
    std::optional<std::size_t> selectedAfter;
    ListButtons buttons;  // edit, delete, up, down after the action
};

class OptionsListRules : public ::testing::TestWithParam<ListCase> {};

TEST_P(OptionsListRules, ChangeTheListAndOfferTheRightButtons) {
    const ListCase& c = GetParam();
    Entries list;
    list.assign(letters(c.items));
    list.select(c.selected);
    if (c.action)
        c.action(list);
    EXPECT_EQ(list.items(), letters(c.itemsAfter));
    EXPECT_EQ(list.selected(), c.selectedAfter);
    EXPECT_EQ(list.buttons(), c.buttons);
}

const auto none = std::nullopt;
const auto nothing = std::function<void(Entries&)>{};

INSTANTIATE_TEST_SUITE_P(
    SelectionAndActions, OptionsListRules,
    ::testing::Values(
        ListCase{"NothingSelectedOffersNoButton", "ABC", none, nothing, "ABC", none, {false, false, false, false}},
        ListCase{"EmptyList", "", 0, nothing, "", none, {false, false, false, false}},
        ListCase{"FirstHasNoUp", "ABC", 0, nothing, "ABC", 0, {true, true, false, true}},
        ListCase{"MiddleHasAll", "ABC", 1, nothing, "ABC", 1, {true, true, true, true}},
        ListCase{"LastHasNoDown", "ABC", 2, nothing, "ABC", 2, {true, true, true, false}},
        ListCase{"OnlyItemMovesNowhere", "A", 0, nothing, "A", 0, {true, true, false, false}},
        ListCase{"SelectingPastTheEndSelectsNothing", "AB", 2, nothing, "AB", none, {false, false, false, false}},
        ListCase{"UpToTheTopLosesUpAtOnce", "ABC", 1, [](Entries& l) { l.moveSelectedUp(); }, "BAC", 0,
                 {true, true, false, true}},
        ListCase{"DownToTheBottomLosesDownAtOnce", "ABC", 1, [](Entries& l) { l.moveSelectedDown(); }, "ACB", 2,
                 {true, true, true, false}},
        ListCase{"UpOnTheFirstDoesNothing", "ABC", 0, [](Entries& l) { l.moveSelectedUp(); }, "ABC", 0,
                 {true, true, false, true}},
        ListCase{"DownWithoutSelectionDoesNothing", "ABC", none, [](Entries& l) { l.moveSelectedDown(); }, "ABC",
                 none, {false, false, false, false}},
        ListCase{"DeleteLeavesNothingSelected", "ABC", 1, [](Entries& l) { l.removeSelected(); }, "AC", none,
                 {false, false, false, false}},
        ListCase{"AddInsertsBeforeTheSelectedEntry", "ABCDE", 3, [](Entries& l) { l.insertBeforeSelected("x"); },
                 "ABCxDE", 4, {true, true, true, true}},
        ListCase{"AddAgainKeepsTheTypedOrder", "AB", 0,
                 [](Entries& l) {
                     l.insertBeforeSelected("x");
                     l.insertBeforeSelected("y");
                 },
                 "xyAB", 2, {true, true, true, true}},
        ListCase{"AddWithoutSelectionAppends", "AB", none, [](Entries& l) { l.insertBeforeSelected("x"); }, "ABx",
                 none, {false, false, false, false}},
        ListCase{"GroupAddAppendsAndKeepsTheSelection", "AB", 1, [](Entries& l) { l.append("x"); }, "ABx", 1,
                 {true, true, true, true}},
        ListCase{"EditReplacesTheSelectedEntry", "ABC", 2, [](Entries& l) { l.replaceSelected("x"); }, "ABx", 2,
                 {true, true, true, false}},
        ListCase{"ReloadingSelectsNothing", "ABC", 1, [](Entries& l) { l.assign({"x"}); }, "x", none,
                 {false, false, false, false}}),
    [](const ::testing::TestParamInfo<ListCase>& param) { return std::string(param.param.name); });

TEST(SelectionGroupItems, QuotesTextsWithBlanksControlsCommasAndQuotes) {
    EXPECT_EQ(groupItemsText({"$0003", "$011A"}), "$0003,$011A");
    EXPECT_EQ(groupItemsText({" 3", "a,b", "say \"hi\"", "\t", "", "\xE9"}),
              "\" 3\",\"a,b\",\"say \"\"hi\"\"\",\"\t\",\"\",\xE9");
    EXPECT_EQ(groupItemsText({}), "");
}

TEST(SelectionGroupItems, SplitsForWritingAndReadsBackWhatItQuoted) {
    EXPECT_EQ(tileIdsOfItemsText("$0003,$011A"), (std::vector<std::string>{"$0003", "$011A"}));
    // The palette's add button leaves a final comma; line breaks and blanks
    // around ids are typing, not ids.
    EXPECT_EQ(tileIdsOfItemsText("$011A,$0003,"), (std::vector<std::string>{"$011A", "$0003"}));
    EXPECT_EQ(tileIdsOfItemsText(" $1 ,\r\n$2 , ,\r\n"), (std::vector<std::string>{"$1", "$2"}));
    EXPECT_EQ(tileIdsOfItemsText(""), std::vector<std::string>{});

    const std::vector<std::vector<std::string>> groups = {
        {" 3", "a,b", "say \"hi\"", "", "\t", "$0003"}, {"\"", "\"\"", ","}, {"x y"}};
    for (const auto& ids : groups)
        EXPECT_EQ(tileIdsOfItemsText(groupItemsText(ids)), ids) << groupItemsText(ids);
    const TTileNamed group{"Sand & stone", {"$0016", " 23"}};
    EXPECT_EQ(groupRowOf(group), (SelectionGroupRow{"Sand & stone", "$0016,\" 23\""}));
    EXPECT_EQ(groupOfRow(groupRowOf(group)), group);
}

} // namespace
} // namespace stonereach
