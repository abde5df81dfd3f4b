#include "platform/memory_table.h"

#include "database_error_text.h"
#include "platform/database_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>

namespace {

// A table with the fields of the restrictions table; rows carry codes 1, 2, 3, ...
class MemoryTableTest : public testing::Test {
public:
    MemoryTableTest()
        : Codigo(Table.AddField("Codigo", TFieldKind::Integer)),
          Nombre(Table.AddField("Nombre", TFieldKind::Text, 30)),
          Unidad(Table.AddField("Unidad", TFieldKind::Text, 10)),
          Min(Table.AddField("Min", TFieldKind::Currency)),
          Max(Table.AddField("Max", TFieldKind::Currency)),
          Enviar(Table.AddField("Enviar", TFieldKind::Boolean)) {
        Table.SetEnableDelete(false);
        Min.SetDisplayFormat("0.0000");
        Max.SetDisplayFormat("0.0000");
        Enviar.SetDisplayValues("Sí;No");
    }

    void OpenWithRows(int count) {
        Table.Open();
        for (int32_t code = 1; code <= count; ++code)
            Table.AppendRecord({code, std::string("Nombre"), std::string("%"), 0.5, 1.5, true});
    }

    // The codes of all rows, a row without one as "-", the current row in brackets: "1,[2],3".
    std::string Rows() const {
        std::string rows;
        for (int row = 0; row < Table.RecordCount(); ++row) {
            const auto& value = Table.Cell(row, Codigo);
            const std::string code = std::holds_alternative<int32_t>(value)
                                         ? std::to_string(std::get<int32_t>(value))
                                         : "-";
            rows += (row ? "," : "") + (row == Table.CurrentRow() ? "[" + code + "]" : code);
        }
        return rows;
    }

    TMemoryTable Table;
    TTableField& Codigo;
    TTableField& Nombre;
    TTableField& Unidad;
    TTableField& Min;
    TTableField& Max;
    TTableField& Enviar;
};

using TAction = std::function<void(MemoryTableTest&)>;

struct TTransitionCase {
    const char* Name;
    TAction Reach; // brings an open table of three rows, row 2 current, into the starting state
    TAction Operation;
    TTableState State;
    const char* Rows;
};

void PrintTo(const TTransitionCase& c, std::ostream* os) {
    *os << c.Name;
}

class TransitionTest : public MemoryTableTest,
                       public testing::WithParamInterface<TTransitionCase> {};

TEST_P(TransitionTest, EndsInStateWithRows) {
    OpenWithRows(3);
    Table.MoveTo(1);
    GetParam().Reach(*this);
    GetParam().Operation(*this);
    EXPECT_EQ(Table.State(), GetParam().State);
    EXPECT_EQ(Rows(), GetParam().Rows);
}

const TAction Closed = [](MemoryTableTest& t) { t.Table.Close(); };
const TAction Browsing = [](MemoryTableTest&) {};
const TAction Editing = [](MemoryTableTest& t) { t.Table.Edit(); };
const TAction EditedTo9 = [](MemoryTableTest& t) {
    t.Table.Edit();
    t.Table.SetValue(t.Codigo, int32_t{9});
};
const TAction Inserting = [](MemoryTableTest& t) { t.Table.Insert(); };
const TAction InsertedAs7 = [](MemoryTableTest& t) {
    t.Table.Insert();
    t.Table.SetValue(t.Codigo, int32_t{7});
};

const TAction Open = [](MemoryTableTest& t) { t.Table.Open(); };
const TAction Close = [](MemoryTableTest& t) { t.Table.Close(); };
const TAction Append = [](MemoryTableTest& t) { t.Table.Append(); };
const TAction Insert = [](MemoryTableTest& t) { t.Table.Insert(); };
const TAction Edit = [](MemoryTableTest& t) { t.Table.Edit(); };
const TAction Post = [](MemoryTableTest& t) { t.Table.Post(); };
const TAction Cancel = [](MemoryTableTest& t) { t.Table.Cancel(); };

INSTANTIATE_TEST_SUITE_P(
    Cases, TransitionTest,
    testing::Values(
        TTransitionCase{"ClosedOpen", Closed, Open, TTableState::Browse, ""},
        TTransitionCase{"ClosedClose", Closed, Close, TTableState::Inactive, ""},
        TTransitionCase{"BrowseOpenKeepsRows", Browsing, Open, TTableState::Browse, "1,[2],3"},
        TTransitionCase{"BrowseClose", Browsing, Close, TTableState::Inactive, ""},
        TTransitionCase{"BrowseEdit", Browsing, Edit, TTableState::Edit, "1,[2],3"},
        TTransitionCase{"BrowseAppend", Browsing, Append, TTableState::Insert, "1,2,3,[-]"},
        TTransitionCase{"BrowseInsert", Browsing, Insert, TTableState::Insert, "1,[-],2,3"},
        TTransitionCase{"BrowsePost", Browsing, Post, TTableState::Browse, "1,[2],3"},
        TTransitionCase{"BrowseCancel", Browsing, Cancel, TTableState::Browse, "1,[2],3"},
        TTransitionCase{"EditEdit", EditedTo9, Edit, TTableState::Edit, "1,[9],3"},
        TTransitionCase{"EditPost", EditedTo9, Post, TTableState::Browse, "1,[9],3"},
        TTransitionCase{"EditCancel", EditedTo9, Cancel, TTableState::Browse, "1,[2],3"},
        TTransitionCase{"EditCloseDiscards", EditedTo9, Close, TTableState::Inactive, ""},
        TTransitionCase{"EditAppendPostsFirst", EditedTo9, Append, TTableState::Insert,
                        "1,9,3,[-]"},
        TTransitionCase{"UnchangedEditAppend", Editing, Append, TTableState::Insert, "1,2,3,[-]"},
        TTransitionCase{"InsertEdit", InsertedAs7, Edit, TTableState::Insert, "1,[7],2,3"},
        TTransitionCase{"InsertPost", InsertedAs7, Post, TTableState::Browse, "1,[7],2,3"},
        TTransitionCase{"UnchangedInsertPostStoresEmptyRow", Inserting, Post, TTableState::Browse,
                        "1,[-],2,3"},
        TTransitionCase{"InsertCancel", InsertedAs7, Cancel, TTableState::Browse, "1,[2],3"},
        TTransitionCase{"InsertCloseDiscards", InsertedAs7, Close, TTableState::Inactive, ""},
        TTransitionCase{"InsertInsertPostsFirst", InsertedAs7, Insert, TTableState::Insert,
                        "1,[-],7,2,3"},
        TTransitionCase{"UnchangedInsertInsert", Inserting, Insert, TTableState::Insert,
                        "1,[-],2,3"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TMoveCase {
    const char* Name;
    TAction Reach; // from row 2 of three rows
    TAction Move;
    const char* Rows;
};

void PrintTo(const TMoveCase& c, std::ostream* os) {
    *os << c.Name;
}

class MoveWhileEditingTest : public MemoryTableTest,
                             public testing::WithParamInterface<TMoveCase> {};

TEST_P(MoveWhileEditingTest, PostsModifiedRowCancelsUnmodifiedOne) {
    OpenWithRows(3);
    Table.MoveTo(1);
    GetParam().Reach(*this);
    GetParam().Move(*this);
    EXPECT_EQ(Table.State(), TTableState::Browse);
    EXPECT_EQ(Rows(), GetParam().Rows);
}

const TAction First = [](MemoryTableTest& t) { t.Table.First(); };
const TAction Next = [](MemoryTableTest& t) { t.Table.Next(); };
const TAction Prior = [](MemoryTableTest& t) { t.Table.Prior(); };
const TAction ToThird = [](MemoryTableTest& t) { t.Table.MoveTo(2); };
const TAction ToFirstBookmark = [](MemoryTableTest& t) {
    t.Table.DisableControls();
    const int current = t.Table.CurrentRow();
    t.Table.First();
    const TBookmark first = t.Table.Bookmark();
    t.Table.MoveTo(current);
    t.Table.GotoBookmark(first);
    t.Table.EnableControls();
};
const TAction Appending = [](MemoryTableTest& t) { t.Table.Append(); };
const TAction AppendedAs7 = [](MemoryTableTest& t) {
    t.Table.Append();
    t.Table.SetText(t.Codigo, "7");
};

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveWhileEditingTest,
    testing::Values(TMoveCase{"EditedFirst", EditedTo9, First, "[1],9,3"},
                    TMoveCase{"EditedNext", EditedTo9, Next, "1,9,[3]"},
                    TMoveCase{"EditedPrior", EditedTo9, Prior, "[1],9,3"},
                    TMoveCase{"UnchangedEditNext", Editing, Next, "1,2,[3]"},
                    TMoveCase{"AppendedFirst", AppendedAs7, First, "[1],2,3,7"},
                    TMoveCase{"AppendedPrior", AppendedAs7, Prior, "1,2,[3],7"},
                    // The empty new row vanishes; the user lands on the row next to it.
                    TMoveCase{"EmptyAppendedPrior", Appending, Prior, "1,2,[3]"},
                    TMoveCase{"EmptyAppendedFirst", Appending, First, "[1],2,3"},
                    TMoveCase{"EmptyAppendedNext", Appending, Next, "1,2,[3]"},
                    TMoveCase{"EmptyInsertedNext", Inserting, Next, "1,[2],3"},
                    TMoveCase{"EmptyInsertedPrior", Inserting, Prior, "[1],2,3"},
                    TMoveCase{"EmptyInsertedToRowBelow", Inserting, ToThird, "1,[2],3"},
                    TMoveCase{"InsertedToRowBelow", InsertedAs7, ToThird, "1,7,[2],3"},
                    TMoveCase{"EditedToBookmark", EditedTo9, ToFirstBookmark, "[1],9,3"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MemoryTableTest, StayingOnTheRowKeepsTheEdit) {
    OpenWithRows(3);
    Table.MoveTo(1);
    Table.Edit();
    Table.SetText(Unidad, "kg");
    Table.MoveTo(1);
    EXPECT_EQ(Table.State(), TTableState::Edit);
    EXPECT_TRUE(Table.Modified());
}

TEST_F(MemoryTableTest, CancelOfAppendReturnsToPreviousRow) {
    OpenWithRows(3);
    Table.MoveTo(1);
    Table.Append();
    Table.Cancel();
    EXPECT_EQ(Rows(), "1,[2],3");
}

TEST_F(MemoryTableTest, NewRowOnEmptyTable) {
    Table.Open();
    Table.Insert();
    EXPECT_EQ(Rows(), "[-]");
    Table.Cancel();
    EXPECT_EQ(Table.CurrentRow(), -1);
    // Editing an empty table begins a new row, there being no row to edit.
    Table.Edit();
    EXPECT_EQ(Table.State(), TTableState::Insert);
    Table.Next();
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_TRUE(Table.Eof());
}

TEST_F(MemoryTableTest, ModifiedTracksAssignmentsOfTheCurrentEdit) {
    OpenWithRows(1);
    Table.Edit();
    EXPECT_FALSE(Table.Modified());
    Table.SetText(Enviar, "No");
    EXPECT_TRUE(Table.Modified());
    Table.Post();
    EXPECT_FALSE(Table.Modified());
    EXPECT_EQ(Table.Value(Enviar), TFieldValue(false));
}

TEST_F(MemoryTableTest, WalkVisitsEveryRowInOrder) {
    OpenWithRows(3);
    std::string codes;
    for (Table.First(); !Table.Eof(); Table.Next())
        codes += std::to_string(std::get<int32_t>(Table.Value(Codigo)));
    EXPECT_EQ(codes, "123");
    EXPECT_EQ(Table.CurrentRow(), 2);

    Table.Close();
    Table.Open();
    Table.First();
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Table.Value(Codigo), TFieldValue{});
}

TEST_F(MemoryTableTest, AppendRecordStoresCompleteRowWithNulls) {
    Table.Open();
    Table.AppendRecord({int32_t{3}, std::string("Fibra detergente neutra (FDN) total"),
                        std::string("% de la MS y más"), 0.0025, TFieldValue{}, true});
    Table.AppendRecord({int32_t{4}});
    EXPECT_EQ(Table.State(), TTableState::Browse);
    EXPECT_EQ(Table.Cell(0, Nombre), TFieldValue(std::string("Fibra detergente neutra (FDN) ")));
    EXPECT_EQ(Table.Cell(0, Unidad), TFieldValue(std::string("% de la MS")));
    EXPECT_EQ(Table.Cell(0, Max), TFieldValue{});
    EXPECT_EQ(Table.Cell(1, Enviar), TFieldValue{});
    EXPECT_EQ(Table.CurrentRow(), 1);
}

TEST_F(MemoryTableTest, AppendRecordOfWrongValuesAddsNothing) {
    OpenWithRows(1);
    EXPECT_EQ(ErrorOf([&] {
                  Table.AppendRecord({int32_t{2}, std::string(), std::string(), 1});
              }),
              "Type mismatch for field 'Min'");
    EXPECT_EQ(ErrorOf([&] {
                  Table.AppendRecord({int32_t{2}, {}, {}, {}, {}, {}, int32_t{0}});
              }),
              "Too many values for the fields of the table");
    EXPECT_EQ(Rows(), "[1]");
}

TEST_F(MemoryTableTest, RefusedTextKeepsPreviousValueAndEdit) {
    OpenWithRows(1);
    Table.Edit();
    EXPECT_NE(ErrorOf([&] { Table.SetText(Min, "abc"); }), "");
    EXPECT_NE(ErrorOf([&] { Table.SetText(Enviar, "x"); }), "");
    EXPECT_EQ(Table.Value(Min), TFieldValue(0.5));
    EXPECT_EQ(Table.Value(Enviar), TFieldValue(true));
    EXPECT_EQ(Table.State(), TTableState::Edit);
    EXPECT_FALSE(Table.Modified());
    Table.SetText(Min, "");
    EXPECT_EQ(Table.Value(Min), TFieldValue{});
}

TEST_F(MemoryTableTest, AssigningNeedsAnEdit) {
    OpenWithRows(1);
    EXPECT_EQ(ErrorOf([&] { Table.SetText(Unidad, "kg"); }), "Dataset not in edit or insert mode");
    EXPECT_EQ(ErrorOf([&] { Table.SetValue(Min, 1.0); }), "Dataset not in edit or insert mode");
    EXPECT_EQ(Table.Value(Unidad), TFieldValue(std::string("%")));
}

TEST_F(MemoryTableTest, FieldsBelongToTheirTable) {
    EXPECT_EQ(&Table.FieldByName("Max"), &Max);
    EXPECT_EQ(&Table.Field(5), &Enviar);
    EXPECT_EQ(ErrorOf([&] { Table.FieldByName("Maximo"); }), "Field 'Maximo' not found");
    EXPECT_EQ(ErrorOf([&] { Table.AddField("Min", TFieldKind::Currency); }),
              "Duplicate field name 'Min'");
    TMemoryTable other;
    TTableField& foreign = other.AddField("Codigo", TFieldKind::Integer);
    OpenWithRows(1);
    EXPECT_EQ(ErrorOf([&] { Table.Value(foreign); }),
              "Field 'Codigo' does not belong to this table");
    EXPECT_EQ(ErrorOf([&] { Table.AddField("Extra", TFieldKind::Boolean); }),
              "Cannot perform this operation on an open dataset");
}

TEST_F(MemoryTableTest, DeleteRefusedLeavesEveryRow) {
    OpenWithRows(3);
    Table.MoveTo(1);
    EXPECT_EQ(ErrorOf([&] { Table.Delete(); }), "Cannot delete records from this table");
    EXPECT_EQ(Rows(), "1,[2],3");
    Table.Edit();
    EXPECT_EQ(ErrorOf([&] { Table.Delete(); }), "Cannot delete records from this table");
    EXPECT_EQ(Table.State(), TTableState::Edit);
}

TEST_F(MemoryTableTest, DeleteDiscardsNewRow) {
    OpenWithRows(3);
    Table.Append();
    Table.SetText(Unidad, "kg");
    Table.Delete();
    EXPECT_EQ(Table.State(), TTableState::Browse);
    EXPECT_EQ(Rows(), "1,2,[3]");
}

TEST_F(MemoryTableTest, DeleteWhenEnabled) {
    Table.SetEnableDelete(true);
    OpenWithRows(3);
    Table.MoveTo(2);
    Table.Delete();
    EXPECT_EQ(Rows(), "1,[2]");
    Table.First();
    Table.Delete();
    EXPECT_EQ(Rows(), "[2]");
    Table.Delete();
    EXPECT_EQ(Table.CurrentRow(), -1);
    EXPECT_EQ(ErrorOf([&] { Table.Delete(); }),
              "Cannot perform this operation on an empty dataset");
}

class ClosedTableTest : public MemoryTableTest,
                        public testing::WithParamInterface<std::pair<const char*, TAction>> {};

TEST_P(ClosedTableTest, FailsAsNotActive) {
    OpenWithRows(3);
    Table.Close();
    EXPECT_EQ(ErrorOf([&] { GetParam().second(*this); }), "Dataset is not active");
    EXPECT_FALSE(Table.Active());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosedTableTest,
    testing::Values(
        std::pair{"First", First}, std::pair{"Next", Next}, std::pair{"Prior", Prior},
        std::pair{"MoveTo", ToThird}, std::pair{"Append", Append}, std::pair{"Insert", Insert},
        std::pair{"Edit", Edit}, std::pair{"Post", Post}, std::pair{"Cancel", Cancel},
        std::pair{"Delete", TAction([](MemoryTableTest& t) { t.Table.Delete(); })},
        std::pair{"AppendRecord",
                  TAction([](MemoryTableTest& t) { t.Table.AppendRecord({int32_t{1}}); })},
        std::pair{"GotoBookmark",
                  TAction([](MemoryTableTest& t) { t.Table.GotoBookmark(TBookmark{1}); })},
        std::pair{"Value", TAction([](MemoryTableTest& t) { t.Table.Value(t.Min); })},
        std::pair{"Cell", TAction([](MemoryTableTest& t) { t.Table.Cell(0, t.Min); })},
        std::pair{"SetText", TAction([](MemoryTableTest& t) { t.Table.SetText(t.Min, "1"); })}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(MemoryTableTest, ClosedTableHasNoRows) {
    EXPECT_EQ(Table.State(), TTableState::Inactive);
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Table.Bookmark().Row, 0u);
    OpenWithRows(3);
    Table.Close();
    Table.Open();
    EXPECT_EQ(Table.RecordCount(), 0);
}

TEST_F(MemoryTableTest, BookmarkFollowsItsRow) {
    OpenWithRows(3);
    Table.MoveTo(1);
    const TBookmark second = Table.Bookmark();
    Table.First();
    Table.Insert();
    Table.SetText(Codigo, "7");
    Table.Post();
    Table.MoveTo(3);
    Table.GotoBookmark(second);
    EXPECT_EQ(Rows(), "7,1,[2],3");
}

TEST_F(MemoryTableTest, BookmarkOfNewRowReturnsNowhere) {
    OpenWithRows(3);
    Table.Append();
    const TBookmark none = Table.Bookmark();
    Table.First();
    Table.GotoBookmark(none);
    EXPECT_EQ(Rows(), "[1],2,3");
}

TEST_F(MemoryTableTest, BookmarkOfDiscardedRowIsNotFound) {
    OpenWithRows(3);
    const TBookmark last = Table.Bookmark();
    Table.Close();
    OpenWithRows(3);
    EXPECT_EQ(ErrorOf([&] { Table.GotoBookmark(last); }), "Record not found");
    EXPECT_EQ(ErrorOf([&] { Table.MoveTo(3); }), "Record not found");
    EXPECT_EQ(ErrorOf([&] { Table.Cell(-1, Codigo); }), "Record not found");
}

// Counts what the observer hears.
struct TCounts {
    int Data = 0;
    int Current = 0;
    int State = 0;
    bool operator==(const TCounts&) const = default;
};

void PrintTo(const TCounts& c, std::ostream* os) {
    *os << "data " << c.Data << ", current " << c.Current << ", state " << c.State;
}

class ObserverTest : public MemoryTableTest {
protected:
    ObserverTest() {
        FId = Table.AddObserver(
            {[this] { ++Heard.Data; }, [this] { ++Heard.Current; }, [this] { ++Heard.State; }});
    }
    TCounts Take() { return std::exchange(Heard, TCounts{}); }

    TCounts Heard;
    int FId = 0;
};

TEST_F(ObserverTest, EachChangeIsHeard) {
    Table.Open();
    EXPECT_EQ(Take(), (TCounts{1, 0, 1}));
    // A complete record arrives without any edit state.
    Table.AppendRecord({int32_t{1}});
    EXPECT_EQ(Take(), (TCounts{1, 1, 0}));
    Table.AppendRecord({int32_t{2}});
    EXPECT_EQ(Take(), (TCounts{1, 1, 0}));
    Table.First();
    EXPECT_EQ(Take(), (TCounts{0, 1, 0}));
    Table.Edit();
    EXPECT_EQ(Take(), (TCounts{0, 0, 1}));
    Table.SetText(Unidad, "kg");
    EXPECT_EQ(Take(), (TCounts{1, 0, 0}));
    EXPECT_THROW(Table.SetText(Min, "abc"), EDatabaseError);
    EXPECT_EQ(Take(), (TCounts{}));
    Table.Next();
    EXPECT_EQ(Take(), (TCounts{0, 1, 1}));
    Table.Append();
    EXPECT_EQ(Take(), (TCounts{1, 1, 1}));
    Table.Close();
    EXPECT_EQ(Take(), (TCounts{1, 1, 1}));
}

TEST_F(ObserverTest, SilentWhileControlsDisabledThenOnce) {
    OpenWithRows(3);
    Take();
    Table.DisableControls();
    Table.DisableControls();
    Table.MoveTo(1);
    Table.Edit();
    Table.SetText(Unidad, "kg");
    for (Table.First(); !Table.Eof(); Table.Next())
        Table.Value(Unidad);
    Table.EnableControls();
    EXPECT_TRUE(Table.ControlsDisabled());
    EXPECT_EQ(Take(), (TCounts{}));
    Table.EnableControls();
    EXPECT_FALSE(Table.ControlsDisabled());
    EXPECT_EQ(Take(), (TCounts{1, 1, 1}));

    Table.DisableControls();
    Table.Value(Codigo);
    Table.EnableControls();
    Table.EnableControls();
    EXPECT_EQ(Take(), (TCounts{}));
    EXPECT_FALSE(Table.ControlsDisabled());
}

TEST_F(ObserverTest, FailingOperationStillReportsWhatItChanged) {
    OpenWithRows(3);
    Table.Edit();
    Table.SetText(Unidad, "kg");
    Take();
    // The edit is posted before the bookmark turns out to be stale.
    EXPECT_THROW(Table.GotoBookmark(TBookmark{999}), EDatabaseError);
    EXPECT_EQ(Take(), (TCounts{0, 0, 1}));
}

TEST_F(ObserverTest, RemovedObserverHearsNothing) {
    Table.RemoveObserver(FId);
    OpenWithRows(2);
    EXPECT_EQ(Take(), (TCounts{}));
}

TEST_F(ObserverTest, ObserverMayUseTheTable) {
    std::string shown;
    Table.AddObserver({[&] { shown = std::to_string(Table.RecordCount()); }, {}, {}});
    OpenWithRows(2);
    EXPECT_EQ(shown, "2");
}

} // namespace
