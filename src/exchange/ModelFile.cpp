#include "exchange/ModelFile.h"

#include "model/Extended.h"
#include "model/UVesk.h"
#include "platform/number_text.h"
#include "platform/profile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

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

float ReadReal(const TProfile& file, const char* key, float fallback, char decimalSeparator) {
    long double value = 0;
    std::optional<std::string> text = file.Read(Section, key);
    if (!text || !ParseReal(*text, decimalSeparator, value))
        return fallback;
    return ToSingle(value);
}

int32_t ReadWhole(const TProfile& file, const char* key, int32_t fallback) {
    int32_t value = 0;
    std::optional<std::string> text = file.Read(Section, key);
    if (!text || !ParseInteger(*text, value))
        return fallback;
    return value;
}

} // namespace

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

void LoadModel(const std::string& fileName, TVeskDairy& model, char decimalSeparator) {
    TProfile file = TProfile::Load(fileName);
    model.Tipo = uint8_t(ReadWhole(file, "Tipo", 0));
    model.Peso = ReadReal(file, "Peso", 450, decimalSeparator);
    model.Lactacion = ReadWhole(file, "Lactacion", 1);
    model.Leche = ReadReal(file, "Leche", 15, decimalSeparator);
    model.Grasa = ReadReal(file, "Grasa", 3.5f, decimalSeparator);
    model.Proteina = ReadReal(file, "Proteina", 3.2f, decimalSeparator);
    model.DIM = ReadWhole(file, "DIM", 60);
    model.Temperatura = ReadReal(file, "Temperatura", 20, decimalSeparator);
    model.GDP = ReadReal(file, "GDP", 0, decimalSeparator);
    model.ADG = ReadReal(file, "ADG", 0, decimalSeparator);
    model.Freshenning = ReadWhole(file, "Freshenning", 0);
    model.Consumo = ReadReal(file, "Consumo", 10, decimalSeparator);
}

void SaveModel(const std::string& fileName, const TVeskDairy& model, char decimalSeparator) {
    auto real = [decimalSeparator](float value) {
        return FormatModelReal(value, decimalSeparator);
    };
    const TProfileWrite keys[] = {
        {"Tipo", std::to_string(unsigned(model.Tipo))},
        {"Consumo", real(model.Consumo)},
        {"Peso", real(model.Peso)},
        {"Lactacion", std::to_string(model.Lactacion)},
        {"Leche", real(model.Leche)},
        {"Grasa", real(model.Grasa)},
        {"Proteina", real(model.Proteina)},
        {"DIM", std::to_string(model.DIM)},
        {"Temperatura", real(model.Temperatura)},
        {"GDP", real(model.GDP)},
        {"ADG", real(model.ADG)},
        {"Freshenning", std::to_string(model.Freshenning)},
    };
    if (!WriteProfileStrings(fileName, Section, keys))
        throw std::runtime_error("Unable to write to " + fileName);
}
