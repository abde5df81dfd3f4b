#include "exchange/ModelFile.h"

#include "model/Extended.h"
#include "model/UVesk.h"
#include "platform/number_text.h"
#include "platform/profile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace {

constexpr const char* Section = "Data";

// The 15 significant digits of a finite magnitude above 0, trailing zeros dropped, and the
// decimal exponent E for which the magnitude is 0.d1d2d3... times ten to the E.
struct TDigits15 {
    char Digits[15];
    int Count;
    int Exponent;
};

TDigits15 Digits15(double magnitude) {
    // 18 significant digits to nearest first, then the 16th rounds the 15th half up.
    char text[32];
    auto result =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 17);
    std::string_view s(text, size_t(result.ptr - text));
    size_t e = s.find('e');
    TDigits15 d{};
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), d.Exponent);
    ++d.Exponent;
    d.Digits[0] = s[0];
    std::copy_n(s.data() + 2, 14, d.Digits + 1);
    d.Count = 15;
    if (s[16] >= '5') {
        int i = 15;
        while (i > 0 && d.Digits[i - 1] == '9')
            d.Digits[--i] = '0';
        if (i == 0) {
            d.Digits[0] = '1';
            ++d.Exponent;
        } else {
            ++d.Digits[i - 1];
        }
    }
    while (d.Digits[d.Count - 1] == '0')
        --d.Count;
    return d;
}

// Stores value into the key's field, narrowed to the field's type (a whole Tipo to its low byte).
template <class TValue> void StoreKey(const TModelKey& key, TValue value, TVeskDairy& model) {
    std::visit(
        [&](auto field) {
            using TField = std::remove_reference_t<decltype(model.*field)>;
            model.*field = static_cast<TField>(value);
        },
        key.Field);
}

} // namespace

bool IsWholeKey(const TModelKey& key) {
    return !std::holds_alternative<float TVeskDairy::*>(key.Field);
}

void SetModelKeyDefault(const TModelKey& key, TVeskDairy& model) {
    StoreKey(key, key.Default, model);
}

std::string ModelKeyText(const TModelKey& key, const TVeskDairy& model, char decimalSeparator) {
    return std::visit(
        [&](auto field) {
            const auto value = model.*field;
            if constexpr (std::is_same_v<decltype(value), const float>)
                return FormatModelReal(value, decimalSeparator);
            else
                return std::to_string(+value);
        },
        key.Field);
}

bool ReadModelKey(const TModelKey& key, std::string_view text, TVeskDairy& model,
                  char decimalSeparator) {
    if (!IsWholeKey(key)) {
        long double value = 0;
        if (!ParseReal(text, decimalSeparator, value))
            return false;
        StoreKey(key, ToSingle(value), model);
        return true;
    }
    int32_t value = 0;
    if (!ParseInteger(text, value))
        return false;
    StoreKey(key, value, model);
    return true;
}

std::string FormatModelReal(float value, char decimalSeparator) {
    double v = value;
    if (v == 0)
        return "0";
    if (!std::isfinite(v)) {
        char text[8];
        return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
    }
    TDigits15 d = Digits15(std::fabs(v));
    std::string_view digits(d.Digits, size_t(d.Count));
    int e = d.Exponent;
    int count = d.Count;
    std::string out = v < 0 ? "-" : "";
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            out.append("0").append(1, decimalSeparator).append(size_t(-e), '0').append(digits);
        } else if (count <= e) {
            out.append(digits).append(size_t(e - count), '0');
        } else {
            out.append(digits, 0, size_t(e)).append(1, decimalSeparator).append(digits, size_t(e));
        }
        return out;
    }
    out.append(1, digits[0]);
    if (count > 1)
        out.append(1, decimalSeparator).append(digits, 1);
    return out.append("E").append(std::to_string(e - 1));
}

// The order of loading matters to a real beyond single precision: the keys before it stay stored.
void LoadModel(const std::string& fileName, TVeskDairy& model, char decimalSeparator) {
    static constexpr std::array<size_t, 12> LoadOrder{0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1};
    const TProfile file = TProfile::Load(fileName);
    for (const size_t index : LoadOrder) {
        const TModelKey& key = ModelKeys[index];
        const std::optional<std::string> text = file.Read(Section, key.Name);
        if (!text || !ReadModelKey(key, *text, model, decimalSeparator))
            SetModelKeyDefault(key, model);
    }
}

void SaveModel(const std::string& fileName, const TVeskDairy& model, char decimalSeparator) {
    std::vector<TProfileWrite> keys;
    for (const TModelKey& key : ModelKeys)
        keys.push_back({key.Name, ModelKeyText(key, model, decimalSeparator)});
    if (!WriteProfileStrings(fileName, Section, keys))
        throw std::runtime_error("Unable to write to " + fileName);
}
