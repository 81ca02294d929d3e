// Detection time by Alpert's ceiling-jet correlations: see uCeilingJet.h.
#include "uCeilingJet.h"

#include "uNumberText.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// A real that may be used in the next step: finite.
bool Usable(long double x)
{
    return std::isfinite(x);
}

bool NotDetected(TCalcParamsOrvann& cp)
{
    cp.value6s = Outcome::NotDetected;
    cp.CalculatedVOP = true;
    return false;
}

// Time for the fire to grow to the area F by the fire-development method; none for an
// unknown method.
std::optional<long double> TimeToFullArea(const TCalcParamsOrvann& cp)
{
    const long double f = cp.param4, v = cp.param6;
    switch (cp.method) {
    case 1: return std::sqrt(f / (v * v * Pi));
    case 2: return f / (cp.param13 * v * cp.param14);
    case 3: return 0.0L;
    case 4: return cp.param15;
    case 5: return std::sqrt(f / (v * cp.param16));
    default: return std::nullopt;
    }
}

// Mass of fire load burnt by the time t by the fire-development method.
std::optional<long double> BurntMass(const TCalcParamsOrvann& cp, long double t)
{
    const long double f = cp.param4, v = cp.param6, psi = cp.param7;
    switch (cp.method) {
    case 1: return t * t * t * v * v * 1.05L * psi;
    case 2: return t * t * cp.param13 * cp.param14 * v * psi;
    case 3: return psi * f * t;
    case 4: return psi * 0.67L * f / std::sqrt(cp.param15) * std::pow(t, 1.5L);
    case 5: return t * t * t * 0.67L * psi * v * cp.param16;
    default: return std::nullopt;
    }
}

} // namespace

bool CalcCPSimple(TCalcParamsOrvann& cp)
{
    const long double h = cp.param1, l = cp.param2, f = cp.param4;
    const long double t0 = cp.param10, tact = cp.param11;

    // An unknown method has no growth law: the steady fire counts from 0 s and
    // value1s keeps what it held.
    long double tf = 0;
    if (const auto grow = TimeToFullArea(cp)) {
        if (!Usable(*grow) || *grow < 0)
            return NotDetected(cp); // the fire never covers F (no flame spread)
        tf = *grow;
        cp.value1s = tf;
    }

    const long double q = cp.param5 * f * cp.param7 * cp.param8;
    if (!Usable(q))
        return NotDetected(cp);
    cp.value2s = q;

    cp.value1 = 0.36L * h;
    const long double d = RoundTo(l - cp.value1, 4);
    cp.value2 = d;
    // No fire, no ceiling or no spacing leaves the correlations without meaning.
    if (!(q > 0) || !(h > 0) || !(l > 0))
        return NotDetected(cp);
    const bool farField = d > 0;

    // The far field is evaluated at 0.71·L, the distance from a sensor of the square
    // grid to the centre of its cell; the branch test uses L itself.
    const long double radius = 0.71L * l;
    const long double tg = farField ? 5.38L * std::pow(q / radius, 2.0L / 3) / h + t0
                                    : 16.9L * std::pow(q, 2.0L / 3) / std::pow(h, 5.0L / 3) + t0;
    if (!Usable(tg))
        return NotDetected(cp);
    cp.value3s = tg;

    const long double qMw = q / 1000;
    const long double u0 = farField
        ? 0.197L * std::cbrt(qMw) * std::sqrt(h) / std::pow(radius, 5.0L / 6)
        : 0.946L * std::cbrt(qMw / h);
    if (!Usable(u0))
        return NotDetected(cp);
    cp.value4s0 = u0;
    const long double u = u0 <= CeilingJetVelocityLimit ? u0 : CeilingJetVelocityLimit;
    cp.value4s = u;

    // The sensor responds only when the gas is hotter than its activation temperature,
    // which itself lies above the initial one: then the ratio is finite and above 1.
    // Equal temperatures make it infinite, a colder gas negative.
    // A gas within rounding of Tact counts as equal to it.
    const long double r = (tg - t0) / (tg - tact);
    if (!Usable(r) || !(r > 1) || std::fabs(tg - tact) <= 1e-12L * std::fmax(std::fabs(tg), std::fabs(tact)))
        return NotDetected(cp);
    const long double tr = cp.param12 / std::sqrt(u) * std::log(r);
    const long double t = tr + tf;
    if (!Usable(tr) || !Usable(t))
        return NotDetected(cp);
    const auto mass = BurntMass(cp, t);
    if (mass && !Usable(*mass))
        return NotDetected(cp); // e.g. unsteady burning with no stabilisation time
    const long double total = f * cp.param9;
    if (!Usable(total))
        return NotDetected(cp);

    cp.value5s = tr;
    cp.value6s = t;
    cp.VOPResult = t;
    if (mass)
        cp.value7s = *mass;
    cp.value8s = total;
    cp.CalculatedVOP = true;
    cp.CalculatedNSP = false;
    return true;
}

QString CeilingJetResultText(const TCalcParamsOrvann& cp)
{
    if (cp.value6s == Outcome::NotDetected)
        return CeilingJetText::NotDetected;
    return CeilingJetText::DetectionTimePrefix + FormatSeconds(cp.value6s);
}
