#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "platform/regional.h"

// The spreadsheet automation objects the export drives: an application with its workbooks, their
// worksheets and the ranges of a worksheet. Every member does its work before it returns and
// reports a failure as ESheetError.

// A failure reported by the spreadsheet, with its English message.
class ESheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of one cell: empty, an integer, a real or a text.
using TSheetValue = std::variant<std::monostate, std::int64_t, double, std::string>;
// Rows of values, all of the same length.
using TSheetBlock = std::vector<std::vector<TSheetValue>>;

// The single-worksheet template of Workbooks.Add.
constexpr int xlWBATWorksheet = -4167;

// HorizontalAlignment values.
constexpr int xlGeneral = 1;
constexpr int xlLeft = -4131;
constexpr int xlCenter = -4108;
constexpr int xlRight = -4152;
constexpr int xlFill = 5;
constexpr int xlJustify = -4130;
constexpr int xlCenterAcrossSelection = 7;
constexpr int xlDistributed = -4117;

// Orientation values besides the angles -90 to 90.
constexpr int xlHorizontal = -4128;
constexpr int xlVertical = -4166;
constexpr int xlUpward = -4171;
constexpr int xlDownward = -4170;

// Colours are blue-green-red values (0xBBGGRR) or system colours of the window toolkit
// (0xFF000000 plus the system colour's index, 0xFF000008 the window-text colour).

class ISheetFont {
public:
    virtual ~ISheetFont() = default;
    virtual void SetName(const std::string& name) = 0;
    virtual void SetSize(double points) = 0;
    virtual void SetColor(std::int32_t color) = 0;
    virtual void SetBold(bool bold) = 0;
    virtual void SetItalic(bool italic) = 0;
    virtual void SetUnderline(bool underline) = 0;
};

class ISheetInterior {
public:
    virtual ~ISheetInterior() = default;
    virtual void SetColor(std::int32_t color) = 0;
};

// The whole columns of a range (Range.EntireColumn).
class ISheetColumns {
public:
    virtual ~ISheetColumns() = default;
    // Fits each column's width to the longest text its cells show.
    virtual void AutoFit() = 0;
};

class ISheetRange {
public:
    virtual ~ISheetRange() = default;
    // Puts the value into every cell of the range; an empty value empties them.
    virtual void SetValue2(const TSheetValue& value) = 0;
    // Fills the range cell by cell; the block must have the range's rows and columns.
    virtual void SetValue2(const TSheetBlock& block) = 0;
    // A number format in the notation of the user's regional settings.
    virtual void SetNumberFormat(const std::string& format) = 0;
    virtual ISheetFont& Font() = 0;
    virtual ISheetInterior& Interior() = 0;
    virtual void SetOrientation(int orientation) = 0;
    virtual void SetWrapText(bool wrap) = 0;
    virtual void SetHorizontalAlignment(int alignment) = 0;
    virtual std::unique_ptr<ISheetColumns> EntireColumn() = 0;
};

class ISheetWorksheet {
public:
    virtual ~ISheetWorksheet() = default;
    virtual void SetName(const std::string& name) = 0;
    // The range between two cells named in A1 form ("B2", "$E$8").
    virtual std::unique_ptr<ISheetRange> Range(const std::string& first,
                                               const std::string& last) = 0;
};

class ISheetWorkbook {
public:
    virtual ~ISheetWorkbook() = default;
    // Worksheets.Item(index), counted from 1.
    virtual std::shared_ptr<ISheetWorksheet> WorksheetsItem(int index) = 0;
};

class ISheetApplication {
public:
    virtual ~ISheetApplication() = default;
    // Workbooks.Add(template); only xlWBATWorksheet is available.
    virtual std::shared_ptr<ISheetWorkbook> WorkbooksAdd(int templateId) = 0;
    virtual void SetScreenUpdating(bool on) = 0;
    // Showing the application saves every workbook and opens its file for the user.
    virtual void SetVisible(bool visible) = 0;
};

// Shows a saved workbook file to the user; false when nothing can open it.
using TSheetOpener = std::function<bool(const std::string& path)>;

// The spreadsheet application already running in this process, or else a newly started one that
// reads number formats in the notation given and shows its files with opener.
std::shared_ptr<ISheetApplication> ConnectSheetApplication(TSheetOpener opener,
                                                           const TRegional& notation);
