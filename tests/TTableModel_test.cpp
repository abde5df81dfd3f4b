#include "ui/TTableModel.h"

#include "database_error_text.h"
#include "platform/regional.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>

namespace {

// Every model warning of the tester that watches the table fails the test that caused it.
QStringList ModelWarnings;

void CollectWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        ModelWarnings.push_back(message);
}

constexpr int Codigo = 0, Nombre = 1, Unidad = 2, Min = 3, Max = 4, Enviar = 5;

// A table with the fields of the restrictions table, without any view, watched by Qt's model
// tester; rows carry codes 1, 2, 3, ...
class TableModelTest : public testing::Test {
public:
    TableModelTest() {
        Table.AddField("Codigo", TFieldKind::Integer);
        Table.SetReadOnly(Table.AddField("Nombre", TFieldKind::Text, 30));
        Table.AddField("Unidad", TFieldKind::Text, 10);
        for (const char* name : {"Min", "Max"})
            Table.AddField(name, TFieldKind::Currency).DisplayFormat = "0.0000";
        TTableField& enviar = Table.AddField("Enviar", TFieldKind::Boolean);
        enviar.TrueText = "Sí";
        enviar.FalseText = "No";
        FPreviousHandler = qInstallMessageHandler(CollectWarning);
    }
    ~TableModelTest() override {
        qInstallMessageHandler(FPreviousHandler);
        SetRegional({'.', ","});
    }
    void TearDown() override {
        EXPECT_TRUE(ModelWarnings.isEmpty()) << ModelWarnings.join(u'\n').toStdString();
        ModelWarnings.clear();
    }

    void OpenWithRows(int count) {
        Table.Open();
        for (int32_t code = 1; code <= count; ++code)
            Table.AppendRecord({code, std::string("Nombre"), std::string("%"), 0.5, 1.5, true});
    }
    void Set(int column, const char* text) {
        Table.SetText(Table.index(Table.CurrentRow(), column), text);
    }
    const TFieldValue& Value(int column) const { return Table.Value(Table.Field(column)); }
    QString Text(int row, int column) const { return Table.index(row, column).data().toString(); }
    QString Indicator(int row) const { return Table.headerData(row, Qt::Vertical).toString(); }

    // The codes of all rows, a row without one as "-", the current row in brackets: "1,[2],3".
    std::string Rows() const {
        std::string rows;
        for (int row = 0; row < Table.rowCount(); ++row) {
            const std::string code =
                Text(row, Codigo).isEmpty() ? std::string("-") : Text(row, Codigo).toStdString();
            rows += (row ? "," : "") + (row == Table.CurrentRow() ? "[" + code + "]" : code);
        }
        return rows;
    }

    TTableModel Table;
    QAbstractItemModelTester Tester{&Table,
                                    QAbstractItemModelTester::FailureReportingMode::Warning};

private:
    QtMessageHandler FPreviousHandler = nullptr;
};

using TAction = std::function<void(TableModelTest&)>;

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

class TransitionTest : public TableModelTest,
                       public testing::WithParamInterface<TTransitionCase> {};

TEST_P(TransitionTest, EndsInStateWithRows) {
    OpenWithRows(3);
    Table.MoveTo(1);
    GetParam().Reach(*this);
    GetParam().Operation(*this);
    EXPECT_EQ(Table.State(), GetParam().State);
    EXPECT_EQ(Rows(), GetParam().Rows);
}

const TAction Closed = [](TableModelTest& t) { t.Table.Close(); };
const TAction Browsing = [](TableModelTest&) {};
const TAction Editing = [](TableModelTest& t) { t.Table.Edit(); };
const TAction EditedTo9 = [](TableModelTest& t) { t.Set(Codigo, "9"); };
const TAction Inserting = [](TableModelTest& t) { t.Table.Insert(); };
const TAction InsertedAs7 = [](TableModelTest& t) {
    t.Table.Insert();
    t.Set(Codigo, "7");
};

const TAction Open = [](TableModelTest& t) { t.Table.Open(); };
const TAction Close = [](TableModelTest& t) { t.Table.Close(); };
const TAction Append = [](TableModelTest& t) { t.Table.Append(); };
const TAction Insert = [](TableModelTest& t) { t.Table.Insert(); };
const TAction Edit = [](TableModelTest& t) { t.Table.Edit(); };
const TAction Post = [](TableModelTest& t) { t.Table.Post(); };
const TAction Cancel = [](TableModelTest& t) { t.Table.Cancel(); };
const TAction Delete = [](TableModelTest& t) { t.Table.Delete(); };

const TAction First = [](TableModelTest& t) { t.Table.First(); };
const TAction Next = [](TableModelTest& t) { t.Table.Next(); };
const TAction ToFirst = [](TableModelTest& t) { t.Table.MoveTo(0); };
const TAction ToThird = [](TableModelTest& t) { t.Table.MoveTo(2); };
const TAction ToFirstBookmark = [](TableModelTest& t) {
    const int current = t.Table.CurrentRow();
    t.Table.First();
    const TBookmark first = t.Table.Bookmark();
    t.Table.MoveTo(current);
    EXPECT_TRUE(t.Table.GotoBookmark(first));
};
const TAction Appending = [](TableModelTest& t) { t.Table.Append(); };
const TAction AppendedAs7 = [](TableModelTest& t) {
    t.Table.Append();
    t.Set(Codigo, "7");
};

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
        TTransitionCase{"InsertDeleteDiscards", InsertedAs7, Delete, TTableState::Browse,
                        "1,[2],3"},
        TTransitionCase{"InsertCloseDiscards", InsertedAs7, Close, TTableState::Inactive, ""},
        TTransitionCase{"InsertInsertPostsFirst", InsertedAs7, Insert, TTableState::Insert,
                        "1,[-],7,2,3"},
        TTransitionCase{"UnchangedInsertInsert", Inserting, Insert, TTableState::Insert,
                        "1,[-],2,3"},
        // Moving stores a modified row and cancels an unmodified one.
        TTransitionCase{"EditedFirst", EditedTo9, First, TTableState::Browse, "[1],9,3"},
        TTransitionCase{"EditedNext", EditedTo9, Next, TTableState::Browse, "1,9,[3]"},
        TTransitionCase{"EditedToFirst", EditedTo9, ToFirst, TTableState::Browse, "[1],9,3"},
        TTransitionCase{"UnchangedEditNext", Editing, Next, TTableState::Browse, "1,2,[3]"},
        TTransitionCase{"AppendedFirst", AppendedAs7, First, TTableState::Browse, "[1],2,3,7"},
        TTransitionCase{"AppendedToThird", AppendedAs7, ToThird, TTableState::Browse, "1,2,[3],7"},
        // The empty new row vanishes; the user lands on the row next to it.
        TTransitionCase{"EmptyAppendedToThird", Appending, ToThird, TTableState::Browse, "1,2,[3]"},
        TTransitionCase{"EmptyAppendedFirst", Appending, First, TTableState::Browse, "[1],2,3"},
        TTransitionCase{"EmptyAppendedNext", Appending, Next, TTableState::Browse, "1,2,[3]"},
        TTransitionCase{"EmptyInsertedNext", Inserting, Next, TTableState::Browse, "1,[2],3"},
        TTransitionCase{"EmptyInsertedToFirst", Inserting, ToFirst, TTableState::Browse, "[1],2,3"},
        TTransitionCase{"EmptyInsertedToRowBelow", Inserting, ToThird, TTableState::Browse,
                        "1,[2],3"},
        TTransitionCase{"InsertedToRowBelow", InsertedAs7, ToThird, TTableState::Browse,
                        "1,7,[2],3"},
        TTransitionCase{"EditedToBookmark", EditedTo9, ToFirstBookmark, TTableState::Browse,
                        "[1],9,3"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TableModelTest, StayingOnTheRowKeepsTheEdit) {
    OpenWithRows(3);
    Table.MoveTo(1);
    Set(Unidad, "kg");
    Table.MoveTo(1);
    EXPECT_EQ(Table.State(), TTableState::Edit);
    EXPECT_TRUE(Table.Modified());
}

TEST_F(TableModelTest, CancelOfAppendReturnsToPreviousRow) {
    OpenWithRows(3);
    Table.MoveTo(1);
    Table.Append();
    Table.Cancel();
    EXPECT_EQ(Rows(), "1,[2],3");
}

TEST_F(TableModelTest, NewRowOnEmptyTable) {
    Table.Open();
    Table.Edit();
    EXPECT_EQ(Table.State(), TTableState::Browse);
    Table.Insert();
    EXPECT_EQ(Rows(), "[-]");
    Table.Next();
    EXPECT_EQ(Table.rowCount(), 0);
    EXPECT_EQ(Table.CurrentRow(), -1);
    EXPECT_TRUE(Table.Eof());
}

TEST_F(TableModelTest, WalkVisitsEveryRowInOrder) {
    OpenWithRows(3);
    std::string codes;
    for (Table.First(); !Table.Eof(); Table.Next())
        codes += std::to_string(std::get<int32_t>(Value(Codigo)));
    EXPECT_EQ(codes, "123");
    EXPECT_EQ(Table.CurrentRow(), 2);

    Table.Close();
    Table.Open();
    Table.First();
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Value(Codigo), TFieldValue{});
}

TEST_F(TableModelTest, AppendRecordStoresCompleteRowWithNullsAndKeepsTheFirstCurrent) {
    QSignalSpy states(&Table, &TTableModel::stateChanged);
    Table.Open();
    Table.AppendRecord({int32_t{3}, std::string("Fibra detergente neutra (FDN) total"),
                        std::string("% de la MS y más"), 0.0025, TFieldValue{}, true});
    Table.AppendRecord({int32_t{4}});
    // Opened, and no edit state on the way.
    EXPECT_EQ(states.count(), 1);
    EXPECT_EQ(Table.State(), TTableState::Browse);
    EXPECT_EQ(Table.Cell(0, Table.Field(Nombre)),
              TFieldValue(std::string("Fibra detergente neutra (FDN) ")));
    EXPECT_EQ(Table.Cell(0, Table.Field(Unidad)), TFieldValue(std::string("% de la MS")));
    EXPECT_EQ(Table.Cell(0, Table.Field(Max)), TFieldValue{});
    EXPECT_EQ(Table.Cell(1, Table.Field(Enviar)), TFieldValue{});
    EXPECT_EQ(Rows(), "[3],4");
}

TEST_F(TableModelTest, CellsShowTheirFieldsTexts) {
    SetRegional({',', ""});
    OpenWithRows(1);
    Table.AppendRecord(
        {int32_t{104}, std::string("Calcio"), std::string("%"), 0.0025, TFieldValue{}, false});
    const char* const shown[] = {"104", "Calcio", "%", "0,0025", "", "No"};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(Text(1, column), QString::fromUtf8(shown[column])) << column;
        EXPECT_EQ(Table.index(1, column).data(Qt::EditRole), Text(1, column)) << column;
    }
    EXPECT_EQ(Text(0, Enviar), QStringLiteral("Sí"));
    const auto horizontal = [&](int column) {
        return Table.index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(horizontal(Codigo), Qt::AlignRight);
    EXPECT_EQ(horizontal(Unidad), Qt::AlignLeft);
    EXPECT_EQ(horizontal(Min), Qt::AlignRight);
    EXPECT_EQ(horizontal(Enviar), Qt::AlignHCenter);
}

TEST_F(TableModelTest, TitlesAreTheDisplayLabelsAndReadOnlyColumnsTakeNoEditor) {
    Table.AddField("Extra", TFieldKind::Text, 1).DisplayLabel = "Más";
    EXPECT_EQ(Table.headerData(Min, Qt::Horizontal).toString(), QStringLiteral("Min"));
    EXPECT_EQ(Table.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Más"));
    OpenWithRows(1);
    EXPECT_FALSE(Table.flags(Table.index(0, Nombre)) & Qt::ItemIsEditable);
    EXPECT_TRUE(Table.flags(Table.index(0, Unidad)) & Qt::ItemIsEditable);
    // The field itself stays writable.
    EXPECT_TRUE(Table.setData(Table.index(0, Nombre), QStringLiteral("Otro")));
    EXPECT_EQ(Text(0, Nombre), QStringLiteral("Otro"));
}

TEST_F(TableModelTest, SetDataPutsTheRowIntoEditingAndRefusesABadText) {
    OpenWithRows(3);
    QSignalSpy changed(&Table, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(Table.setData(Table.index(2, Unidad), QStringLiteral("g/kg MS y más")));
    EXPECT_EQ(Rows(), "1,2,[3]");
    EXPECT_EQ(Table.State(), TTableState::Edit);
    EXPECT_EQ(Text(2, Unidad), QStringLiteral("g/kg MS y "));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().at(0).toModelIndex(), Table.index(2, Unidad));

    EXPECT_FALSE(Table.setData(Table.index(2, Min), QStringLiteral("abc")));
    EXPECT_FALSE(Table.setData(Table.index(2, Enviar), QStringLiteral("x")));
    EXPECT_FALSE(Table.setData(Table.index(2, Min), 1.0, Qt::DisplayRole));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(Value(Min), TFieldValue(0.5));
    EXPECT_EQ(Value(Enviar), TFieldValue(true));

    // Another row: the edited one is stored first.
    EXPECT_TRUE(Table.setData(Table.index(0, Min), QString()));
    EXPECT_EQ(Rows(), "[1],2,3");
    EXPECT_EQ(Value(Min), TFieldValue{});
    EXPECT_EQ(Text(2, Unidad), QStringLiteral("g/kg MS y "));
}

struct TRefusalCase {
    int Column;
    const char* Text;
    const char* Message;
};

void PrintTo(const TRefusalCase& c, std::ostream* os) {
    *os << c.Column << " '" << c.Text << "'";
}

class RefusedTextTest : public TableModelTest, public testing::WithParamInterface<TRefusalCase> {};

// The field keeps its value and a row that was browsed is not put into editing.
TEST_P(RefusedTextTest, ChangesNothing) {
    OpenWithRows(1);
    EXPECT_EQ(ErrorOf([&] { Set(GetParam().Column, GetParam().Text); }), GetParam().Message);
    EXPECT_EQ(Table.State(), TTableState::Browse);
    EXPECT_EQ(Text(0, Min), QStringLiteral("0.5000"));
    EXPECT_EQ(Text(0, Enviar), QStringLiteral("Sí"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedTextTest,
    testing::Values(
        TRefusalCase{Min, "abc", "'abc' is not a valid floating point value for field 'Min'"},
        TRefusalCase{Enviar, "x", "'x' is not a valid boolean value for field 'Enviar'"},
        TRefusalCase{Codigo, "1.5", "'1.5' is not a valid integer value for field 'Codigo'"}));

TEST_F(TableModelTest, AStoredRowIsNeverDeleted) {
    OpenWithRows(3);
    Table.MoveTo(1);
    EXPECT_EQ(ErrorOf([&] { Table.Delete(); }), "Cannot delete records from this table");
    EXPECT_EQ(Rows(), "1,[2],3");
    Set(Unidad, "kg");
    EXPECT_EQ(ErrorOf([&] { Table.Delete(); }), "Cannot delete records from this table");
    EXPECT_EQ(Table.State(), TTableState::Edit);
}

class ClosedTableTest : public TableModelTest,
                        public testing::WithParamInterface<std::pair<const char*, TAction>> {};

TEST_P(ClosedTableTest, FailsAsNotActive) {
    OpenWithRows(3);
    Table.Close();
    EXPECT_EQ(ErrorOf([&] { GetParam().second(*this); }), "Dataset is not active");
    EXPECT_FALSE(Table.Active());
    EXPECT_EQ(Table.rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosedTableTest,
    testing::Values(
        std::pair{"First", First}, std::pair{"Next", Next}, std::pair{"MoveTo", ToThird},
        std::pair{"Append", Append}, std::pair{"Insert", Insert}, std::pair{"Edit", Edit},
        std::pair{"Post", Post}, std::pair{"Cancel", Cancel}, std::pair{"Delete", Delete},
        std::pair{"AppendRecord",
                  TAction([](TableModelTest& t) { t.Table.AppendRecord({int32_t{1}}); })},
        std::pair{"GotoBookmark", TAction([](TableModelTest& t) { t.Table.GotoBookmark(1); })},
        std::pair{"Value", TAction([](TableModelTest& t) { t.Value(Min); })},
        std::pair{"SetText",
                  TAction([](TableModelTest& t) { t.Table.SetText(t.Table.index(0, Min), "1"); })}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(TableModelTest, ClosedTableHasNoRows) {
    EXPECT_EQ(Table.State(), TTableState::Inactive);
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Table.Bookmark(), 0u);
    OpenWithRows(3);
    QSignalSpy reset(&Table, &QAbstractItemModel::modelReset);
    Table.Close();
    EXPECT_EQ(reset.count(), 1);
    Table.Open();
    EXPECT_EQ(Table.rowCount(), 0);
}

TEST_F(TableModelTest, BookmarkFollowsItsRow) {
    OpenWithRows(3);
    Table.MoveTo(1);
    const TBookmark second = Table.Bookmark();
    Table.First();
    Table.Insert();
    Set(Codigo, "7");
    Table.Post();
    Table.MoveTo(3);
    EXPECT_TRUE(Table.GotoBookmark(second));
    EXPECT_EQ(Rows(), "7,1,[2],3");
}

TEST_F(TableModelTest, BookmarkOfANewRowFindsItOnceStored) {
    OpenWithRows(3);
    Table.Append();
    Set(Codigo, "7");
    const TBookmark stored = Table.Bookmark();
    Table.First();
    EXPECT_TRUE(Table.GotoBookmark(stored));
    EXPECT_EQ(Rows(), "1,2,3,[7]");
}

TEST_F(TableModelTest, BookmarkOfADiscardedRowFindsNothing) {
    OpenWithRows(3);
    Table.Append();
    const TBookmark empty = Table.Bookmark();
    Table.First();
    EXPECT_FALSE(Table.GotoBookmark(empty));
    EXPECT_EQ(Rows(), "[1],2,3");
    const TBookmark first = Table.Bookmark();
    Table.Close();
    OpenWithRows(3);
    EXPECT_FALSE(Table.GotoBookmark(first));
    EXPECT_EQ(ErrorOf([&] { Table.MoveTo(3); }), "Record not found");
}

// The indicator of the vertical header, and what a view hears when it changes.
TEST_F(TableModelTest, IndicatorMarksTheCurrentRowAndItsState) {
    OpenWithRows(3);
    QSignalSpy header(&Table, &QAbstractItemModel::headerDataChanged);
    QSignalSpy states(&Table, &TTableModel::stateChanged);
    EXPECT_EQ(Indicator(0), QStringLiteral("▶"));
    EXPECT_EQ(Indicator(1), QString());
    Table.MoveTo(1);
    EXPECT_EQ(Indicator(0), QString());
    EXPECT_EQ(Indicator(1), QStringLiteral("▶"));
    EXPECT_EQ(header.count(), 2);
    Table.Edit();
    EXPECT_EQ(Indicator(1), QStringLiteral("I"));
    EXPECT_EQ(states.count(), 1);
    Table.Insert();
    EXPECT_EQ(Indicator(1), QStringLiteral("*"));
    EXPECT_EQ(Indicator(2), QString());
    EXPECT_EQ(states.count(), 3);
    Table.Cancel();
    EXPECT_EQ(Indicator(1), QStringLiteral("▶"));
    EXPECT_EQ(states.count(), 4);
    const QList<QVariant> last = header.back();
    EXPECT_EQ(last.at(0).value<Qt::Orientation>(), Qt::Vertical);
    EXPECT_EQ(last.at(1).toInt(), 1);
}

TEST_F(TableModelTest, NewRowsAreInsertedAndRemovedRows) {
    OpenWithRows(3);
    QSignalSpy inserted(&Table, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&Table, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&Table, &QAbstractItemModel::dataChanged);
    Table.MoveTo(1);
    Table.Insert();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.front().at(1).toInt(), 1);
    Table.Next();
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.front().at(1).toInt(), 1);
    Set(Unidad, "kg");
    Table.Cancel();
    // The cell and then the whole row restored.
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.back().at(0).toModelIndex(), Table.index(1, 0));
    EXPECT_EQ(changed.back().at(1).toModelIndex(), Table.index(1, Enviar));
    EXPECT_EQ(Text(1, Unidad), QStringLiteral("%"));
}

} // namespace
