#include "exchange/Csv.h"

#include <algorithm>
#include <ios>

namespace {

constexpr std::size_t BlockSize = 1 << 16;
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

TCsvReader::TCsvReader(std::istream& in) : FIn(in), FBuffer(BlockSize, '\0') {}

bool TCsvReader::Fill() {
    FBuffer.erase(0, FPos);
    FConsumed += FPos;
    FEnd -= FPos;
    FPos = 0;
    if (FBuffer.size() < FEnd + BlockSize)
        FBuffer.resize(FEnd + BlockSize);
    FIn.read(FBuffer.data() + FEnd, static_cast<std::streamsize>(FBuffer.size() - FEnd));
    if (FIn.bad())
        throw std::ios_base::failure("read error");
    const auto count = static_cast<std::size_t>(FIn.gcount());
    FEnd += count;
    if (!FStarted) {
        FStarted = true;
        if (std::string_view(FBuffer.data(), FEnd).starts_with(ByteOrderMark))
            FPos = ByteOrderMark.size();
    }
    return count > 0 && FPos < FEnd;
}

char TCsvReader::DetectSeparator(char fallback) {
    static constexpr std::string_view Candidates = ";\t,";
    std::size_t found = Candidates.size();
    bool quoted = false;
    for (std::size_t i = FPos;; ++i) {
        if (i == FEnd) {
            const std::size_t ahead = i - FPos;
            if (!Fill())
                break;
            i = FPos + ahead;
        }
        const char c = FBuffer[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == '\n')
                break;
            const std::size_t candidate = Candidates.find(c);
            if (candidate < found)
                found = candidate;
        }
    }
    return found < Candidates.size() ? Candidates[found] : fallback;
}

std::string& TCsvReader::NewCell(TCsvRecord& record) {
    if (record.Count == record.Cells.size())
        record.Cells.emplace_back();
    std::string& cell = record.Cells[record.Count++];
    cell.clear();
    return cell;
}

bool TCsvReader::Next(TCsvRecord& record) {
    record.Count = 0;
    record.Unterminated = false;
    if (FPos == FEnd && !Fill())
        return false;
    record.Line = FLine;
    std::size_t stray = std::string::npos;
    std::string* cell = &NewCell(record);
    // Plain: an unquoted cell; QuoteSeen: a quote inside a quoted cell, which either closes it or
    // doubles; QuoteReturn: a carriage return after the closing quote.
    enum class TState { Start, Plain, Quoted, QuoteSeen, QuoteReturn } state = TState::Start;
    const auto markStray = [&] {
        if (stray == std::string::npos)
            stray = record.Count - 1;
    };
    const auto finish = [&] {
        record.StrayText = stray == std::string::npos ? record.Count : stray;
        return true;
    };
    while (FPos < FEnd || Fill()) {
        const char c = FBuffer[FPos++];
        switch (state) {
        case TState::Start:
            if (c == '"') {
                state = TState::Quoted;
                break;
            }
            state = TState::Plain;
            [[fallthrough]];
        case TState::Plain:
            if (c == FSeparator) {
                cell = &NewCell(record);
                state = TState::Start;
            } else if (c == '\n') {
                ++FLine;
                if (!cell->empty() && cell->back() == '\r')
                    cell->pop_back();
                return finish();
            } else {
                cell->push_back(c);
            }
            break;
        case TState::Quoted:
            if (c == '"') {
                state = TState::QuoteSeen;
            } else {
                FLine += c == '\n';
                cell->push_back(c);
            }
            break;
        case TState::QuoteSeen:
            if (c == '"') {
                cell->push_back('"');
                state = TState::Quoted;
            } else if (c == FSeparator) {
                cell = &NewCell(record);
                state = TState::Start;
            } else if (c == '\n') {
                ++FLine;
                return finish();
            } else if (c == '\r') {
                state = TState::QuoteReturn;
            } else {
                markStray();
                cell->push_back(c);
                state = TState::Plain;
            }
            break;
        case TState::QuoteReturn:
            if (c == '\n') {
                ++FLine;
                return finish();
            }
            markStray();
            cell->push_back('\r');
            --FPos;
            state = TState::Plain;
            break;
        }
    }
    record.Unterminated = state == TState::Quoted;
    return finish();
}

void AppendCsvCell(std::string& out, std::string_view text, char separator) {
    const bool plain = std::none_of(text.begin(), text.end(), [separator](char c) {
        return c == separator || c == '"' || c == '\n' || c == '\r';
    });
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}
