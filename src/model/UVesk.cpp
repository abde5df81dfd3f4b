#include "model/UVesk.h"

#include "model/Extended.h"

namespace {

// The working values of the lactating cow's estimate that its requirements use again.
struct TLactatingIntake {
    long double B; // Peso^0.75
    float M;       // corrected milk yield
    float F;       // temperature in degrees Fahrenheit
};

// The heifer's energy terms: Peso^0.75 × 0.118 and e^(0.18 × ADG).
struct THeiferEnergy {
    long double B;
    long double G;
};

long double N(const TRestriccion& record) {
    return static_cast<long double>(record.Requerido.Count);
}

void Store(TRestriccion& record, long double count) {
    record.Requerido = TFixed::FromCount(count);
}

// The estimate of a lactating cow, storing ConsumoEstimado after each step that changes it.
TLactatingIntake EstimateLactating(TVeskDairy& model) {
    const long double leche = model.Leche;
    const long double peso = model.Peso;
    const float m = ToSingle(0.4L * leche + (0.15L * leche) * model.Grasa);
    const long double b = Power(peso, 0.75L);
    model.ConsumoEstimado = ToSingle(((0.08L * b + 0.74L * m) * 2) / 4.4L + 0.011L * peso);
    if (model.DIM <= 70) {
        const long double w = model.DIM / 7;
        const long double factor = ((4.04L * Log10(w) - 0.095L * w) + 0.095L) * 0.0972L + 0.67L;
        model.ConsumoEstimado = ToSingle(factor * model.ConsumoEstimado);
    }
    const float f = ToSingle(ToDouble(static_cast<long double>(model.Temperatura) * 9 / 5 + 32));
    if (f > 68)
        model.ConsumoEstimado = ToSingle((1 - (f - 68.0L) * 0.00329L) * model.ConsumoEstimado);
    else if (f < 41)
        model.ConsumoEstimado = ToSingle(
            Divide(model.ConsumoEstimado, 1 - (41 - static_cast<long double>(f)) * 0.00258L));
    return {b, m, f};
}

void EstimateDry(TVeskDairy& model) {
    model.ConsumoEstimado = ToSingle(0.01367L * model.Peso + 1.7072L);
    if (model.Freshenning < 14)
        model.ConsumoEstimado = ToSingle(0.88L * model.ConsumoEstimado);
}

THeiferEnergy HeiferEnergy(const TVeskDairy& model) {
    const long double b = Power(model.Peso, 0.75L) * 0.118L;
    return {b, Exp(0.18L * model.ADG)};
}

void EstimateHeifer(TVeskDairy& model) {
    const THeiferEnergy energy = HeiferEnergy(model);
    const long double peso = model.Peso;
    const float h = ToSingle(energy.G * energy.B);
    model.ConsumoEstimado =
        ToSingle(((0.01781L * peso - 1.54723L) + 3.451L * model.ADG) + 0.051464L * h);
    if (peso > 400)
        model.ConsumoEstimado = ToSingle(h / 1.34L);
}

// The allowance of the second lactation and of the third or later, in counts; the first
// lactation and any other value get none.
void AddLactationAllowance(TRestriccion& record, int32_t lactacion, long double base,
                           long double second, long double third) {
    if (lactacion == 1)
        Store(record, (base * second) * 10000 + N(record));
    else if (lactacion == 2)
        Store(record, (base * third) * 10000 + N(record));
}

long double ProteinBase(long double peso) {
    return 0.000421L * peso + 0.152L;
}

// Phosphorus of a heifer: a × Peso + b + c × GDP grams, by weight band.
struct TPhosphorusBand {
    long double A, B, C;
};

TPhosphorusBand HeiferPhosphorusBand(long double peso) {
    if (peso <= 250)
        return {0.05L, 0.884L, 4.86L};
    if (peso <= 400)
        return {0.0215L, 7.27L, 6.02L};
    return {0.00207L, 13.5L, 8.29L};
}

void SetLimit(TFixed& limit, long double count) {
    limit = TFixed::FromCount(count);
}

} // namespace

void TVeskDairy::EstimateIntake() {
    switch (Tipo) {
    case tpProduccion:
        EstimateLactating(*this);
        break;
    case tpSeca:
        EstimateDry(*this);
        break;
    case tpVaquilla:
        EstimateHeifer(*this);
        break;
    default:
        break;
    }
}

void TVeskDairy::Calculate() {
    switch (Tipo) {
    case tpProduccion:
        CalcLactating();
        break;
    case tpSeca:
        CalcDry();
        break;
    case tpVaquilla:
        CalcHeifer();
        break;
    default:
        break;
    }
    CalcLimits();
}

void TVeskDairy::CalcLactating() {
    const TLactatingIntake intake = EstimateLactating(*this);
    const long double b = intake.B;
    const long double m = intake.M;
    const long double peso = Peso;
    const long double leche = Leche;
    const long double proteina = Proteina;

    Store(Energia, (0.08L * b + ((0.0923L * Grasa + (proteina + 5) * 0.0492L) - 0.0564L) * leche +
                    (5.12L * GDP) / 2.2L) *
                       10000);
    if (DIM <= 50)
        Store(Energia, (DIM * 0.2L) * 10000 + (N(Energia) - 103200));
    AddLactationAllowance(Energia, Lactacion, b, 0.016L, 0.008L);

    const float u = ToSingle(((41 - 0.401L * m) * ConsumoEstimado) * 0.68L);
    const long double a = ProteinBase(peso);
    Store(ProteinaCruda, ((a + (leche * proteina) / 38.8L) + u / 1000.0L) * 10000);
    AddLactationAllowance(ProteinaCruda, Lactacion, a, 0.2L, 0.1L);

    Store(Fosforo, ((0.0286L * peso + 1.98L * m) / 1000) * 10000);
    Store(Calcio, N(Fosforo) * 1.75L);
    Store(Magnesio, (0.0025L * ConsumoEstimado) * 10000);
    Store(Potasio, (0.01L * ConsumoEstimado) * 10000);
    // Heat stress: above 85 °F the cow loses more potassium.
    if (intake.F > 85)
        Store(Potasio, (0.012L * ConsumoEstimado) * 10000);
}

void TVeskDairy::CalcDry() {
    EstimateDry(*this);
    const long double peso = Peso;
    const long double b = Power(peso, 0.75L);

    Store(Energia, (0.104L * b + (5.12L * GDP) / 2.2L) * 10000);
    if (DIM <= 50)
        Store(Energia, ((DIM * 0.2L) * 7) * 10000 + (N(Energia) - 103200));
    AddLactationAllowance(Energia, Lactacion, b, 0.016L, 0.008L);

    Store(ProteinaCruda, (0.001514L * peso + 0.2928L) * 10000);
    AddLactationAllowance(ProteinaCruda, Lactacion, ProteinBase(peso), 0.2L, 0.1L);

    Store(Fosforo, ((0.038L * peso + 2.3L) / 1000) * 10000);
    Store(Calcio, N(Fosforo) * 1.75L);
    Store(Magnesio, (0.016L * ConsumoEstimado) * 10000);
    Store(Potasio, (0.065L * ConsumoEstimado) * 10000);
}

void TVeskDairy::CalcHeifer() {
    const THeiferEnergy energy = HeiferEnergy(*this);
    const long double peso = Peso;
    const long double gdp = GDP;

    Store(Energia, (energy.G * energy.B) * 10000);
    // Unlike EstimateIntake, the energy term enters as the four-decimal amount.
    ConsumoEstimado = ToSingle(
        (((0.01781L * peso - 1.54723L) + 3.451L * ADG) * 10000 + 0.051464L * N(Energia)) / 10000);
    if (peso > 400)
        ConsumoEstimado = ToSingle(N(Energia) / 13400);

    const long double intake = ConsumoEstimado;
    Store(ProteinaCruda,
          ((((Power(peso, 0.5L) * 2.75L + intake * 34) + Power(peso, 0.6L) * 0.2L) + 165 * gdp) /
           450) *
              10000);
    if (peso > 400)
        Store(ProteinaCruda,
              N(ProteinaCruda) -
                  ((((1.5543L * peso + 176.882L) - 400) + 173.888L * gdp) / 1000) * 10000);

    const TPhosphorusBand band = HeiferPhosphorusBand(peso);
    Store(Fosforo, (((band.A * peso + band.B) + band.C * gdp) / 1000) * 10000);
    Store(Calcio, N(Fosforo) * 1.75L);
    Store(Magnesio, (0.016L * intake) * 10000);
    Store(Potasio, (0.065L * intake) * 10000);
}

void TVeskDairy::CalcLimits() {
    const long double c = Consumo;
    SetLimit(ProteinaCruda.Min, Divide(N(ProteinaCruda), c) * 100);
    SetLimit(ProteinaCruda.Max, Divide(N(ProteinaCruda), c) * 120);
    SetLimit(FDN.Min, (Divide(ConsumoEstimado, c) * (Tipo == tpProduccion ? 28 : 30)) * 10000);
    SetLimit(Energia.Min, Divide(N(Energia), c));
    SetLimit(Energia.Max, Divide(N(Energia), c));
    SetLimit(Calcio.Min, Divide(N(Calcio), c) * 100);
    SetLimit(Calcio.Max, Divide(N(Fosforo) * 2.5L, c) * 100);
    SetLimit(Fosforo.Min, Divide(N(Fosforo), c) * 100);
    // Phosphorus at most calcium ÷ 1.35: the calcium count ÷ 13500 is that amount in kg.
    SetLimit(Fosforo.Max, ((Divide(N(Calcio) / 13500, c)) * 100) * 10000);
    SetLimit(Magnesio.Min, Divide(N(Magnesio), c) * 100);
    SetLimit(Magnesio.Max, Divide(N(Magnesio), c) * 150);
    SetLimit(Potasio.Min, Divide(N(Potasio), c) * 100);
}
