// Showing and reading numbers: FormatReal runs for every shown line of the installation page's list and of the
// report, ParseReal for every input. Typical magnitudes, and the extremes a hostile text or value can reach.

#include "core/extended.h"
#include "core/numbers.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;

// Results as the pages show them: quotients and products of ordinary inputs, with 64 significant bits.
std::vector<hcalc::Ext> TypicalValues() {
    std::vector<hcalc::Ext> values;
    for (int i = 1; i <= 256; ++i) {
        values.push_back(hcalc::Ext(345759978) / (i * 7) + hcalc::Ext(i) / 3);
        values.push_back(hcalc::Ext(i) * 230 / 1000003);
        values.push_back(hcalc::Ext(1) / (i * 17));
        values.push_back(hcalc::Ext(i) * 3);  // whole kvar steps
    }
    return values;
}

// The extended range's edges: the largest value, the smallest normal one, far outside the double range.
std::vector<hcalc::Ext> ExtremeValues() {
    return {hcalc::Ext::FromBits({0xFFFFFFFFFFFFFFFFu, 0x7FFE}), hcalc::Ext::FromBits({0x8000000000000000u, 0x0001}),
            hcalc::Ext::FromBits({0xD72CB2A95C7EF6CDu, 0x7FFE}), hcalc::Ext::FromBits({0x95FE7E07C91EFAFAu, 0x3ACE}),
            hcalc::Ext::FromBits({0xC90FDAA22168C235u, 0x2000}), hcalc::Ext::FromBits({0xB504F333F9DE6484u, 0x6000})};
}

void FormatValues(benchmark::State& state, const std::vector<hcalc::Ext>& values) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hcalc::FormatReal(values[i], u'.'));
        i = i + 1 == values.size() ? 0 : i + 1;
    }
}

void FormatRealTypical(benchmark::State& state) {
    FormatValues(state, TypicalValues());
}

void FormatRealExtreme(benchmark::State& state) {
    FormatValues(state, ExtremeValues());
}

void ParseTexts(benchmark::State& state, const std::vector<QString>& texts) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hcalc::TryParseReal(texts[i], u'.'));
        i = i + 1 == texts.size() ? 0 : i + 1;
    }
}

void ParseRealTypical(benchmark::State& state) {
    std::vector<QString> texts;
    for (const hcalc::Ext& v : TypicalValues()) {
        texts.push_back(hcalc::FormatReal(v, u'.'));  // what a hand-over writes into the next page's field
    }
    texts.push_back(u"230"_s);
    texts.push_back(u"0.95"_s);
    ParseTexts(state, texts);
}

void ParseRealExtreme(benchmark::State& state) {
    ParseTexts(state, {u"1e4932"_s, u"1.18973149535723176502e4932"_s, u"3.3621031431120935063e-4932"_s, u"1e-4940"_s,
                       u"1e499"_s, u"1e-400"_s});
}

// 100,000 digits, the most a text can bring: below the range, beyond it, and exactly 1; and the exact 11,495-digit
// expansion of the smallest subnormal value, 2^-16445, which must be read to its end.
void ParseRealLongText(benchmark::State& state) {
    char smallest[12000] = {};
    std::snprintf(smallest, sizeof smallest, "%.11494Le", 0x1p-16445L);
    const QString texts[] = {u"0."_s + QString(99998, u'3'), QString(100000, u'1'), u"1."_s + QString(99990, u'0'),
                             QString::fromLatin1(smallest)};
    const QString& text = texts[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(hcalc::TryParseReal(text, u'.'));
    }
}

BENCHMARK(FormatRealTypical);
BENCHMARK(FormatRealExtreme);
BENCHMARK(ParseRealTypical);
BENCHMARK(ParseRealExtreme);
BENCHMARK(ParseRealLongText)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
