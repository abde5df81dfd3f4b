#include "ui/TRadioGroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TRadioGroup* NewGroup(int index) {
    auto* group =
        new TRadioGroup(QStringLiteral("&Grupo"),
                        {QStringLiteral("Uno"), QStringLiteral("Dos"), QStringLiteral("Tres")}, 3);
    group->SetItemIndex(index);
    return group;
}

struct TIndexCase {
    int Initial;
    int Set;
    int Index;
    int Clicks;
};

void PrintTo(const TIndexCase& c, std::ostream* os) {
    *os << c.Initial << " -> " << c.Set;
}

class TRadioGroupIndex : public testing::TestWithParam<TIndexCase> {};

TEST_P(TRadioGroupIndex, ClampsAndFiresOnlyOnChange) {
    const TIndexCase& c = GetParam();
    std::unique_ptr<TRadioGroup> group(NewGroup(c.Initial));
    QSignalSpy clicks(group.get(), &TRadioGroup::itemClicked);
    group->SetItemIndex(c.Set);
    EXPECT_EQ(group->ItemIndex(), c.Index);
    EXPECT_EQ(clicks.count(), c.Clicks);
    for (int i = 0; i < group->Count(); ++i)
        EXPECT_EQ(group->Item(i)->isChecked(), i == c.Index) << "item " << i;
}

INSTANTIATE_TEST_SUITE_P(Index, TRadioGroupIndex,
                         testing::Values(TIndexCase{-1, 1, 1, 1}, TIndexCase{1, 1, 1, 0},
                                         TIndexCase{1, 2, 2, 1}, TIndexCase{1, 7, 2, 1},
                                         TIndexCase{2, 7, 2, 0}, TIndexCase{1, -1, -1, 1},
                                         TIndexCase{1, -5, -1, 1}, TIndexCase{-1, -5, -1, 0}));

TEST(TRadioGroup, UserClickFiresOnceAndTheSelectedItemNothing) {
    std::unique_ptr<TRadioGroup> group(NewGroup(0));
    group->show();
    QSignalSpy clicks(group.get(), &TRadioGroup::itemClicked);
    const QPoint indicator(8, group->Item(2)->height() / 2);
    QTest::mouseClick(group->Item(2), Qt::LeftButton, {}, indicator);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(group->Item(2), Qt::LeftButton, {}, indicator);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TRadioGroup, ItemsFillColumnsTopToBottom) {
    TRadioGroup group(QStringLiteral("Grupo"),
                      {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 1);
    group.resize(200, 120);
    group.show();
    EXPECT_EQ(group.Item(0)->x(), group.Item(2)->x());
    EXPECT_LT(group.Item(0)->y(), group.Item(1)->y());
    EXPECT_LT(group.Item(1)->y(), group.Item(2)->y());
}

} // namespace
