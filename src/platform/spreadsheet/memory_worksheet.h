#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/regional.h"
#include "platform/spreadsheet/cell_names.h"
#include "platform/spreadsheet/sheet_cell.h"
#include "platform/spreadsheet/spreadsheet.h"

// A worksheet held in memory: its name, the cells that hold a value or a format, and the column
// widths that AutoFit set.
class TMemoryWorksheet : public ISheetWorksheet,
                         public std::enable_shared_from_this<TMemoryWorksheet> {
public:
    TMemoryWorksheet(std::string name, TRegional notation);

    // A name of 1 to 31 characters without : \ / ? * [ ], not starting or ending with "'", and
    // not "History".
    void SetName(const std::string& name) override;
    std::unique_ptr<ISheetRange> Range(const std::string& first, const std::string& last) override;

    const std::string& Name() const { return FName; }
    const TRegional& Notation() const { return FNotation; }
    // The cell, or nullptr when it holds neither a value nor a format.
    const TSheetCell* Cell(TCellRef cell) const;
    // The used cells, row by row.
    const std::map<TCellRef, TSheetCell>& Cells() const { return FCells; }
    // The fitted width in characters of the standard font; empty: the standard width.
    std::optional<double> ColumnWidth(int column) const;
    const std::map<int, double>& ColumnWidths() const { return FColumnWidths; }

    // Applies change to every cell of the area. Areas beyond a million cells are refused.
    void Change(const TCellArea& area, const std::function<void(TSheetCell&)>& change);
    // Fits each column from first to last to the longest text its cells show.
    void AutoFit(int firstColumn, int lastColumn);
    // The format code of the file for a format in this sheet's notation; raises ESheetError
    // when the spreadsheet refuses it.
    std::string FileFormat(const std::string& format) const;

private:
    std::string FName;
    TRegional FNotation;
    std::map<TCellRef, TSheetCell> FCells;
    std::map<int, double> FColumnWidths;
};
