#pragma once

#include <memory>

#include "platform/spreadsheet/cell_names.h"
#include "platform/spreadsheet/spreadsheet.h"

class TMemoryWorksheet;
class TMemoryRange;

// The font of a range: each setting goes to every cell of the range.
class TMemoryFont : public ISheetFont {
public:
    explicit TMemoryFont(TMemoryRange& range) : FRange(range) {}
    void SetName(const std::string& name) override;
    void SetSize(double points) override;
    void SetColor(std::int32_t color) override;
    void SetBold(bool bold) override;
    void SetItalic(bool italic) override;
    void SetUnderline(bool underline) override;

private:
    TMemoryRange& FRange;
};

class TMemoryInterior : public ISheetInterior {
public:
    explicit TMemoryInterior(TMemoryRange& range) : FRange(range) {}
    void SetColor(std::int32_t color) override;

private:
    TMemoryRange& FRange;
};

class TMemoryColumns : public ISheetColumns {
public:
    TMemoryColumns(std::shared_ptr<TMemoryWorksheet> sheet, int first, int last);
    void AutoFit() override;

private:
    std::shared_ptr<TMemoryWorksheet> FSheet;
    int FFirst;
    int FLast;
};

// A rectangle of cells of a worksheet held in memory.
class TMemoryRange : public ISheetRange {
public:
    TMemoryRange(std::shared_ptr<TMemoryWorksheet> sheet, TCellArea area);

    // Numbers must be finite and texts at most 32767 characters long.
    void SetValue2(const TSheetValue& value) override;
    void SetValue2(const TSheetBlock& block) override;
    void SetNumberFormat(const std::string& format) override;
    ISheetFont& Font() override { return FFont; }
    ISheetInterior& Interior() override { return FInterior; }
    // An angle from -90 to 90 or one of xlHorizontal, xlVertical, xlUpward, xlDownward.
    void SetOrientation(int orientation) override;
    void SetWrapText(bool wrap) override;
    // xlGeneral, xlLeft, xlCenter, xlRight, xlFill, xlJustify, xlCenterAcrossSelection or
    // xlDistributed.
    void SetHorizontalAlignment(int alignment) override;
    std::unique_ptr<ISheetColumns> EntireColumn() override;

    TMemoryWorksheet& Sheet() { return *FSheet; }
    const TCellArea& Area() const { return FArea; }

private:
    std::shared_ptr<TMemoryWorksheet> FSheet;
    TCellArea FArea;
    TMemoryFont FFont;
    TMemoryInterior FInterior;
};
