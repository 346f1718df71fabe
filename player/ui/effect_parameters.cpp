#include "player/ui/effect_parameters.h"

#include <bit>

namespace effects {

double Value(const ParameterView& parameter, int position) {
    switch (parameter.kind) {
        case ValueKind::Bool:
            return position != 0 ? 1 : 0;
        case ValueKind::Int:
            return position - parameter.offset;
        case ValueKind::Float:
            break;
    }
    return static_cast<float>(position - parameter.offset) / static_cast<float>(parameter.divisor);
}

QString ValueText(const ParameterView& parameter, int position, const QLocale& locale) {
    if (parameter.kind == ValueKind::Bool) return QString::number(position);
    if (parameter.divisor == 1) return QString::number(position - parameter.offset);
    int decimals = 0;
    for (int d = parameter.divisor; d > 1; d /= 10) ++decimals;
    // Shortest form up to `decimals` places, with at least one digit before the separator.
    QString text = QString::number(Value(parameter, position), 'f', decimals);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

Record MakeRecord(std::size_t effect, std::span<const int> positions) {
    Record record{};
    const auto parameters = kEffectViews.at(effect).parameters;
    for (std::size_t i = 0; i < parameters.size() && i < positions.size(); ++i) {
        const ParameterView& p = parameters[i];
        switch (p.kind) {
            case ValueKind::Float:
                record[i] =
                    std::bit_cast<std::uint32_t>(static_cast<float>(Value(p, positions[i])));
                break;
            case ValueKind::Int:
                record[i] = static_cast<std::uint32_t>(positions[i] - p.offset);
                break;
            case ValueKind::Bool:
                record[i] = positions[i] != 0 ? 0xFFFFFFFFu : 0u;
                break;
        }
    }
    return record;
}

}  // namespace effects
