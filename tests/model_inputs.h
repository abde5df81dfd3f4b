#pragma once

#include "model/UVesk.h"

#include <gtest/gtest.h>

#include <cstring>

// Compares the twelve inputs of two models, reals bit for bit.
inline void ExpectInputs(const TVeskDairy& actual, const TVeskDairy& expected) {
    auto same = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_EQ(actual.Tipo, expected.Tipo);
    EXPECT_PRED2(same, actual.Consumo, expected.Consumo);
    EXPECT_PRED2(same, actual.Peso, expected.Peso);
    EXPECT_EQ(actual.Lactacion, expected.Lactacion);
    EXPECT_PRED2(same, actual.Leche, expected.Leche);
    EXPECT_PRED2(same, actual.Grasa, expected.Grasa);
    EXPECT_PRED2(same, actual.Proteina, expected.Proteina);
    EXPECT_EQ(actual.DIM, expected.DIM);
    EXPECT_PRED2(same, actual.Temperatura, expected.Temperatura);
    EXPECT_PRED2(same, actual.GDP, expected.GDP);
    EXPECT_PRED2(same, actual.ADG, expected.ADG);
    EXPECT_EQ(actual.Freshenning, expected.Freshenning);
}
