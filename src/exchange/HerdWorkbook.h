#pragma once

#include "exchange/HerdLimits.h"
#include "platform/workbook.h"

#include <array>
#include <string>
#include <vector>

// The limits table of a herd as the one sheet "Lote" of a workbook file, written whole or not at
// all: titles bold on silver, limits as numbers with the format "0.0000", intakes with "0.00",
// both rounded as the CSV shows them, texts as UTF-8 and empty cells empty. Every failure raises
// EWorkbookError; a workbook destroyed before Commit leaves nothing behind.
class THerdWorkbook {
public:
    THerdWorkbook(const std::string& path, const std::array<std::string, HerdColumns>& titles);

    void Add(const THerdAnimal& animal);
    void Commit() { FWriter.Commit(); }

private:
    TWorkbookWriter FWriter;
    std::vector<TWorkbookCell> FRow;
};
