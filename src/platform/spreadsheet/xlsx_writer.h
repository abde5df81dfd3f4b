#pragma once

#include <string>

class TMemoryWorkbook;

// Writes the workbook as an .xlsx file: first to a temporary name in the file's folder, then
// renamed over path, so that a failed save leaves the previous file as it was. Numbers are
// written under the "C" numeric locale whatever the process's locale. Raises ESheetError when
// the file cannot be written.
void SaveXlsx(const TMemoryWorkbook& book, const std::string& path);
