#include "core/numbers.h"

int main() {
    return hcalc::FormatReal(hcalc::Ext(1) / 4, u'.') == QStringLiteral("0.25") ? 0 : 1;
}
