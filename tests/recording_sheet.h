#pragma once

#include <charconv>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/spreadsheet/spreadsheet.h"

// A stand-in for the spreadsheet automation objects that writes each call into one log as text:
// "Range(A1:E1).Font.Bold=1", "Range(A2:E3).Value2={1|Proteína|0.0025};{2||}", "Visible=1".
// Number formats in RefusedFormats raise ESheetError, as the spreadsheet does.
struct TSheetLog {
    std::vector<std::string> Calls;
    std::set<std::string> RefusedFormats;
};

inline std::string LogText(const TSheetValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return std::to_string(*integer);
    if (const auto* real = std::get_if<double>(&value)) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, *real).ptr);
    }
    if (const auto* text = std::get_if<std::string>(&value))
        return "'" + *text + "'";
    return "";
}

class TRecordingFont : public ISheetFont {
public:
    TRecordingFont(TSheetLog& log, std::string prefix) : FLog(log), FPrefix(std::move(prefix)) {}
    void SetName(const std::string& name) override { Log("Name=" + name); }
    void SetSize(double points) override { Log("Size=" + LogText(points)); }
    void SetColor(std::int32_t color) override { Log("Color=" + std::to_string(color)); }
    void SetBold(bool bold) override { Log("Bold=" + std::to_string(bold)); }
    void SetItalic(bool italic) override { Log("Italic=" + std::to_string(italic)); }
    void SetUnderline(bool underline) override { Log("Underline=" + std::to_string(underline)); }

private:
    void Log(const std::string& call) { FLog.Calls.push_back(FPrefix + ".Font." + call); }
    TSheetLog& FLog;
    std::string FPrefix;
};

class TRecordingInterior : public ISheetInterior {
public:
    TRecordingInterior(TSheetLog& log, std::string prefix)
        : FLog(log), FPrefix(std::move(prefix)) {}
    void SetColor(std::int32_t color) override {
        FLog.Calls.push_back(FPrefix + ".Interior.Color=" + std::to_string(color));
    }

private:
    TSheetLog& FLog;
    std::string FPrefix;
};

class TRecordingColumns : public ISheetColumns {
public:
    TRecordingColumns(TSheetLog& log, std::string prefix) : FLog(log), FPrefix(std::move(prefix)) {}
    void AutoFit() override { FLog.Calls.push_back(FPrefix + ".EntireColumn.AutoFit"); }

private:
    TSheetLog& FLog;
    std::string FPrefix;
};

class TRecordingRange : public ISheetRange {
public:
    TRecordingRange(TSheetLog& log, const std::string& first, const std::string& last)
        : FLog(log), FPrefix("Range(" + first + ":" + last + ")"), FFont(log, FPrefix),
          FInterior(log, FPrefix) {}
    void SetValue2(const TSheetValue& value) override { Log("Value2=" + LogText(value)); }
    void SetValue2(const TSheetBlock& block) override {
        std::string text;
        for (const auto& line : block) {
            text += text.empty() ? "{" : ";{";
            for (size_t i = 0; i < line.size(); ++i) {
                if (i > 0)
                    text += '|';
                text += LogText(line[i]);
            }
            text += "}";
        }
        Log("Value2=" + text);
    }
    void SetNumberFormat(const std::string& format) override {
        Log("NumberFormat=" + format);
        if (FLog.RefusedFormats.count(format))
            throw ESheetError("Unable to set the NumberFormat property");
    }
    ISheetFont& Font() override { return FFont; }
    ISheetInterior& Interior() override { return FInterior; }
    void SetOrientation(int orientation) override {
        Log("Orientation=" + std::to_string(orientation));
    }
    void SetWrapText(bool wrap) override { Log("WrapText=" + std::to_string(wrap)); }
    void SetHorizontalAlignment(int alignment) override {
        Log("HorizontalAlignment=" + std::to_string(alignment));
    }
    std::unique_ptr<ISheetColumns> EntireColumn() override {
        return std::make_unique<TRecordingColumns>(FLog, FPrefix);
    }

private:
    void Log(const std::string& call) { FLog.Calls.push_back(FPrefix + "." + call); }
    TSheetLog& FLog;
    std::string FPrefix;
    TRecordingFont FFont;
    TRecordingInterior FInterior;
};

class TRecordingWorksheet : public ISheetWorksheet {
public:
    explicit TRecordingWorksheet(TSheetLog& log) : FLog(log) {}
    void SetName(const std::string& name) override { FLog.Calls.push_back("Name=" + name); }
    std::unique_ptr<ISheetRange> Range(const std::string& first, const std::string& last) override {
        return std::make_unique<TRecordingRange>(FLog, first, last);
    }

private:
    TSheetLog& FLog;
};

class TRecordingWorkbook : public ISheetWorkbook {
public:
    explicit TRecordingWorkbook(TSheetLog& log) : FLog(log) {}
    std::shared_ptr<ISheetWorksheet> WorksheetsItem(int index) override {
        FLog.Calls.push_back("Worksheets.Item(" + std::to_string(index) + ")");
        return std::make_shared<TRecordingWorksheet>(FLog);
    }

private:
    TSheetLog& FLog;
};

class TRecordingApplication : public ISheetApplication {
public:
    explicit TRecordingApplication(TSheetLog& log) : FLog(log) {}
    std::shared_ptr<ISheetWorkbook> WorkbooksAdd(int templateId) override {
        FLog.Calls.push_back("Workbooks.Add(" + std::to_string(templateId) + ")");
        return std::make_shared<TRecordingWorkbook>(FLog);
    }
    void SetScreenUpdating(bool on) override {
        FLog.Calls.push_back("ScreenUpdating=" + std::to_string(on));
    }
    void SetVisible(bool visible) override {
        FLog.Calls.push_back("Visible=" + std::to_string(visible));
    }

private:
    TSheetLog& FLog;
};
