// The results file beside a project: see uProjectResults.h.
#include "uProjectResults.h"

#include "uBinaryCodec.h"
#include "uCalcRecordJson.h"
#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uNumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const QString FormatKey = QStringLiteral("format");
const QString VersionKey = QStringLiteral("version");
const QString ZonesKey = QStringLiteral("zones");
const QString IDKey = QStringLiteral("ID");
const QString NameKey = QStringLiteral("Name");
const QString RectKey = QStringLiteral("Rect");
const QString HKey = QStringLiteral("H");
const QString VKey = QStringLiteral("V");
const QString RecordKey = QStringLiteral("record");
const QString CSensorKey = QStringLiteral("CSensor");
const QString RunsKey = QStringLiteral("runs");
const QString ExactKey = QStringLiteral("exact");

const QString RunKey = QStringLiteral("run");
const QString InputsKey = QStringLiteral("inputs");
const QString HiddenKey = QStringLiteral("hidden");
const QString MixKey = QStringLiteral("mix");
const QString AnnouncementKey = QStringLiteral("announcement");
const QString OutcomeKey = QStringLiteral("outcome");
const QString HeightKey = QStringLiteral("height");
const QString VolumeKey = QStringLiteral("volume");
const QString ExtentKey = QStringLiteral("extent");

const QString MethodKey = QStringLiteral("method");
const QString ClassKey = QStringLiteral("BOSClass");
const QString DebugKey = QStringLiteral("cbDebug");
const QString LoadsKey = QStringLiteral("loads");

const QString FireLoadFinalKey = QStringLiteral("FireLoadFinal");
const QString Value13Key = QStringLiteral("value13");
const QString Value13CalcKey = QStringLiteral("value13calc");
const QString Param06CalcKey = QStringLiteral("FLFinal_param06calc");
const QString Param07CalcKey = QStringLiteral("FLFinal_param07calc");
const QString Param08CalcKey = QStringLiteral("FLFinal_param08calc");
const QString ZeroTotalKey = QStringLiteral("ZeroTotal");

struct TRunName {
    TCalcRun Run;
    const char* Name;
};
const TRunName RunNames[] = {
    { TCalcRun::Standard, "vop" },
    { TCalcRun::Optimised, "vop-optimised" },
    { TCalcRun::InitialStage, "initial-stage" },
    { TCalcRun::FireLoad, "fireload" },
};

struct TKindName {
    TRunKind Kind;
    const char* Name;
};
const TKindName KindNames[] = { { TRunKind::VOP, "VOP" }, { TRunKind::NSP, "NSP" }, { TRunKind::FL, "FL" } };

// The dialog's real-valued controls, in the order of the exact form.
struct TSpin {
    const char* Name;
    long double TCalcDialogValues::*Field;
};
const TSpin Spins[] = {
    { "seParam2", &TCalcDialogValues::seParam2 },
    { "seParam4", &TCalcDialogValues::seParam4 },
    { "seParam10", &TCalcDialogValues::seParam10 },
    { "seParam11", &TCalcDialogValues::seParam11 },
    { "seParam12", &TCalcDialogValues::seParam12 },
    { "seParam13", &TCalcDialogValues::seParam13 },
    { "seParam14", &TCalcDialogValues::seParam14 },
    { "seParam15", &TCalcDialogValues::seParam15 },
    { "seParam16", &TCalcDialogValues::seParam16 },
    { "seValue11", &TCalcDialogValues::seValue11 },
};

bool Fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

QString RunName(TCalcRun run)
{
    for (const TRunName& r : RunNames)
        if (r.Run == run)
            return QLatin1String(r.Name);
    return QString();
}

// The set-up the inputs are read against. Which controls a run offers does not depend on
// the zone; a zone wider than any spacing leaves the initial spacing unclamped, as in a
// fresh dialog.
const TCalcDialogSetup& RunSetup(TCalcRun run)
{
    static const std::array<TCalcDialogSetup, 4> setups = [] {
        const TRoom wide(0, 0, 0, 1000000, 1000000, nullptr);
        std::array<TCalcDialogSetup, 4> s;
        for (TCalcRun r :
            { TCalcRun::Optimised, TCalcRun::Standard, TCalcRun::InitialStage, TCalcRun::FireLoad })
            s[static_cast<size_t>(r)] = CalcDialogSetup(r, wide);
        return s;
    }();
    return setups[static_cast<size_t>(run)];
}

bool WholeNumber(
    const QJsonValue& value, const QString& where, int64_t min, int64_t max, int64_t* result, QString* error)
{
    const double d = value.toDouble();
    if (!value.isDouble() || d != std::floor(d) || d < static_cast<double>(min)
        || d > static_cast<double>(max))
        return Fail(error, QStringLiteral("field \"%1\" must be a whole number").arg(where));
    *result = static_cast<int64_t>(d);
    return true;
}

bool Int32(const QJsonValue& value, const QString& where, int32_t* result, QString* error)
{
    int64_t v = 0;
    if (!WholeNumber(value, where, INT32_MIN, INT32_MAX, &v, error))
        return false;
    *result = static_cast<int32_t>(v);
    return true;
}

bool Text(const QJsonValue& value, const QString& where, QString* result, QString* error)
{
    if (!value.isString())
        return Fail(error, QStringLiteral("field \"%1\" must be a string").arg(where));
    *result = value.toString();
    return true;
}

bool Flag(const QJsonValue& value, const QString& where, bool* result, QString* error)
{
    if (!value.isBool())
        return Fail(error, QStringLiteral("field \"%1\" must be true or false").arg(where));
    *result = value.toBool();
    return true;
}

bool OnlyKeys(
    const QJsonObject& o, std::initializer_list<const QString*> keys, const QString& where, QString* error)
{
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        for (const QString* k : keys)
            known = known || it.key() == *k;
        if (!known)
            return Fail(error, QStringLiteral("unknown key \"%1\" in %2").arg(it.key(), where));
    }
    return true;
}

bool Require(
    const QJsonObject& o, std::initializer_list<const QString*> keys, const QString& where, QString* error)
{
    for (const QString* k : keys)
        if (!o.contains(*k))
            return Fail(error, QStringLiteral("field \"%1.%2\" is missing").arg(where, *k));
    return true;
}

QString In(const QString& where, const QString& key) { return where + QLatin1Char('.') + key; }

// --- the exact form ------------------------------------------------------------------------

void ForEachLoadReal(TFireLoad& load, const std::function<void(long double&)>& visit)
{
    for (int p = 0; p < FireLoadPropertyKeys().size(); ++p)
        visit(FireLoadProperty(load, p));
}

// Every real of a kept run, in the order of the exact form.
void ForEachRunReal(TZoneRun& run, const std::function<void(long double&)>& visit)
{
    for (const TSpin& s : Spins)
        visit(run.Values.*(s.Field));
    for (TFireLoad& load : run.Values.FireLoads)
        ForEachLoadReal(load, visit);
    ForEachLoadReal(run.Values.FireLoadFinal, visit);
    visit(run.Values.value13);
    visit(run.Outcome);
    visit(run.Height);
    visit(run.Volume);
}

// Every real of a zone entry: the record, then the kept runs VOP, NSP, FL.
void ForEachZoneReal(TCalcParamsOrvann& cp, TZoneRuns& runs, const std::function<void(long double&)>& visit)
{
    ForEachRecordReal(cp, visit);
    for (const TKindName& k : KindNames)
        if (std::optional<TZoneRun>& run = runs.Of(k.Kind))
            ForEachRunReal(*run, visit);
}

// Where long double is the x87 format itself, its first 10 bytes in memory are the
// encoding EncodeExtended builds by arithmetic, for every finite value; a save of many
// records spends a good share of its time here otherwise.
constexpr bool NativeExtended = std::numeric_limits<long double>::digits == 64
    && std::numeric_limits<long double>::max_exponent == 16384 && std::endian::native == std::endian::little;

// Whole numbers a double holds exactly come back from their JSON number as they were; most
// reals of a record (zeros, temperatures, amounts) are such, so the exact form leaves them out.
bool ReadsBackExactly(long double v)
{
    return v == std::trunc(v) && std::fabs(v) < 9007199254740992.0L && !(v == 0 && std::signbit(v));
}

// The exact form: a bitmap with one bit per real in the order of ForEachZoneReal (set: its
// 10 bytes follow), then the 10-byte extended reals of the set bits, in base64.
QString ExactForm(const TRoom& room)
{
    // The visitors only read; the traversal is shared with the reader, which writes.
    auto& cp = const_cast<TCalcParamsOrvann&>(room.CP);
    auto& runs = const_cast<TZoneRuns&>(room.Runs);
    std::vector<unsigned char> bitmap;
    std::vector<unsigned char> values;
    bitmap.reserve(64);
    values.reserve(2048);
    size_t index = 0;
    ForEachZoneReal(cp, runs, [&](long double& v) {
        if (index % 8 == 0)
            bitmap.push_back(0);
        if (!ReadsBackExactly(v)) {
            bitmap.back() |= static_cast<unsigned char>(1u << (index % 8));
            const size_t at = values.size();
            values.resize(at + ExtendedSize);
            if (NativeExtended && std::isfinite(v))
                std::memcpy(values.data() + at, &v, ExtendedSize);
            else
                EncodeExtended(v, values.data() + at);
        }
        ++index;
    });
    bitmap.insert(bitmap.end(), values.begin(), values.end());
    return QString::fromLatin1(QByteArray::fromRawData(
        reinterpret_cast<const char*>(bitmap.data()), static_cast<qsizetype>(bitmap.size()))
                                   .toBase64());
}

// Refines the reals read from the JSON numbers with their exact form. A form that does not
// fit the reals read belongs to other data (an edited file) and is ignored as a whole; a
// value whose double differs from its exact form's was edited and keeps the readable number.
void ApplyExactForm(const QByteArray& bytes, TCalcParamsOrvann& cp, TZoneRuns& runs)
{
    qsizetype count = 0;
    ForEachZoneReal(cp, runs, [&count](long double&) { ++count; });
    const qsizetype bitmapSize = (count + 7) / 8;
    if (bytes.size() < bitmapSize)
        return;
    const auto* bitmap = reinterpret_cast<const unsigned char*>(bytes.constData());
    qsizetype present = 0;
    for (qsizetype i = 0; i < bitmapSize; ++i)
        present += std::popcount(static_cast<unsigned>(bitmap[i]));
    if (bytes.size() != bitmapSize + present * ExtendedSize)
        return;
    const unsigned char* data = bitmap + bitmapSize;
    qsizetype index = 0;
    ForEachZoneReal(cp, runs, [&](long double& v) {
        const bool set = bitmap[index / 8] & (1u << (index % 8));
        ++index;
        if (!set)
            return;
        const long double exact = DecodeExtended(data);
        data += ExtendedSize;
        if (static_cast<double>(exact) == static_cast<double>(v))
            v = exact;
    });
}

// --- writing -------------------------------------------------------------------------------

bool Real(long double value, const QString& where, QJsonValue* result, QString* error)
{
    return RealToJsonValue(value, where, result, error);
}

bool PutReal(QJsonObject& o, const QString& key, long double value, const QString& where, QString* error)
{
    QJsonValue v;
    if (!Real(value, In(where, key), &v, error))
        return false;
    o[key] = v;
    return true;
}

bool MixToJson(const TCalcDialogValues& v, QJsonObject* result, QString* error)
{
    QJsonObject mix;
    QJsonObject final;
    if (!FireLoadToJson(v.FireLoadFinal, &final, error))
        return false;
    mix[FireLoadFinalKey] = final;
    if (!PutReal(mix, Value13Key, v.value13, MixKey, error))
        return false;
    mix[Value13CalcKey] = v.value13calc;
    mix[Param06CalcKey] = v.FLFinal_param06calc;
    mix[Param07CalcKey] = v.FLFinal_param07calc;
    mix[Param08CalcKey] = v.FLFinal_param08calc;
    mix[ZeroTotalKey] = v.ZeroTotal;
    *result = mix;
    return true;
}

bool RunToJson(const TZoneRun& run, QJsonObject* result, QString* error)
{
    QJsonObject r;
    r[RunKey] = RunName(run.Run);
    QJsonObject inputs;
    if (!RunInputsToJson(run.Run, run.Values, &inputs, error))
        return false;
    r[InputsKey] = inputs;
    // What the inputs cannot say: controls the run's dialog hides that hold other values
    // than a replay of the inputs gives (the window's class button sets seParam11 when
    // clicked, not after seParam10 was typed, for one).
    // The loads are always inputs in full; the replay needs only the controls.
    QJsonObject controls = inputs;
    controls.remove(LoadsKey);
    TCalcDialogValues replay;
    if (!RunInputsFromJson(run.Run, controls, &replay, error))
        return false;
    QJsonObject hidden;
    for (const TSpin& s : Spins)
        if (replay.*(s.Field) != run.Values.*(s.Field)
            && !PutReal(hidden, QLatin1String(s.Name), run.Values.*(s.Field), HiddenKey, error))
            return false;
    if (replay.method != run.Values.method)
        hidden[MethodKey] = run.Values.method;
    if (replay.BOSClass != run.Values.BOSClass)
        hidden[ClassKey] = run.Values.BOSClass;
    if (!hidden.isEmpty())
        r[HiddenKey] = hidden;
    QJsonObject mix;
    if (!MixToJson(run.Values, &mix, error))
        return false;
    r[MixKey] = mix;
    r[AnnouncementKey] = run.Announcement;
    if (!PutReal(r, OutcomeKey, run.Outcome, RunKey, error)
        || !PutReal(r, HeightKey, run.Height, RunKey, error)
        || !PutReal(r, VolumeKey, run.Volume, RunKey, error))
        return false;
    r[ExtentKey] = QJsonArray { static_cast<qint64>(run.Width), static_cast<qint64>(run.Depth) };
    *result = r;
    return true;
}

bool ZoneToJson(const TRoom& room, QJsonObject* result, QString* error)
{
    QJsonObject z;
    z[IDKey] = room.ID();
    z[NameKey] = room.Name();
    const TRect& rect = room.Rect();
    z[RectKey] = QJsonArray { rect.Left, rect.Top, rect.Right, rect.Bottom };
    z[HKey] = room.H();
    if (!PutReal(z, VKey, room.V(), QStringLiteral("zone"), error))
        return false;
    QJsonObject record;
    if (!RecordToJson(room.CP, &record, error))
        return false;
    z[RecordKey] = record;
    z[CSensorKey] = room.CP.CSensor;
    QJsonObject runs;
    for (const TKindName& k : KindNames) {
        const std::optional<TZoneRun>& run = room.Runs.Of(k.Kind);
        if (!run)
            continue;
        QJsonObject r;
        if (!RunToJson(*run, &r, error))
            return false;
        runs[QLatin1String(k.Name)] = r;
    }
    z[RunsKey] = runs;
    z[ExactKey] = ExactForm(room);
    *result = z;
    return true;
}

// JSON text of a value tree, compact. QJsonDocument::toJson grows its buffer piece by piece
// and took half the time of a save; this writes into one buffer reserved up front. Numbers
// are the shortest text that reads back to the same double (whole numbers without a
// fraction), strings UTF-8 with the escapes JSON requires.
void AppendJson(std::string& out, const QJsonValue& value);

void AppendString(std::string& out, const QString& text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendNumber(std::string& out, double d)
{
    char text[32];
    std::to_chars_result r;
    if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0)
        r = std::to_chars(text, text + sizeof text, static_cast<int64_t>(d));
    else
        r = std::to_chars(text, text + sizeof text, d);
    out.append(text, r.ptr);
}

void AppendJson(std::string& out, const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out += "null";
        break;
    case QJsonValue::Bool:
        out += value.toBool() ? "true" : "false";
        break;
    case QJsonValue::Double:
        AppendNumber(out, value.toDouble());
        break;
    case QJsonValue::String:
        AppendString(out, value.toString());
        break;
    case QJsonValue::Array: {
        out += '[';
        bool first = true;
        for (const QJsonValue& item : value.toArray()) {
            if (!first)
                out += ',';
            first = false;
            AppendJson(out, item);
        }
        out += ']';
        break;
    }
    case QJsonValue::Object: {
        out += '{';
        const QJsonObject object = value.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (it != object.constBegin())
                out += ',';
            AppendString(out, it.key());
            out += ':';
            AppendJson(out, it.value());
        }
        out += '}';
        break;
    }
    }
}

bool HasResult(const TRoom& room)
{
    const TCalcParamsOrvann& cp = room.CP;
    return room.Runs.Any() || cp.CalculatedVOP || cp.CalculatedNSP || cp.CalculatedFL;
}

// --- reading -------------------------------------------------------------------------------

bool MixFromJson(const QJsonValue& value, const QString& where, TCalcDialogValues* v, QString* error)
{
    if (!value.isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(where));
    const QJsonObject o = value.toObject();
    if (!OnlyKeys(o,
            { &FireLoadFinalKey, &Value13Key, &Value13CalcKey, &Param06CalcKey, &Param07CalcKey,
                &Param08CalcKey, &ZeroTotalKey },
            where, error)
        || !Require(o,
            { &FireLoadFinalKey, &Value13Key, &Value13CalcKey, &Param06CalcKey, &Param07CalcKey,
                &Param08CalcKey, &ZeroTotalKey },
            where, error))
        return false;
    return FireLoadFromJson(o[FireLoadFinalKey], In(where, FireLoadFinalKey), true, &v->FireLoadFinal, error)
        && RealFromJsonValue(o[Value13Key], In(where, Value13Key), &v->value13, error)
        && Text(o[Value13CalcKey], In(where, Value13CalcKey), &v->value13calc, error)
        && Text(o[Param06CalcKey], In(where, Param06CalcKey), &v->FLFinal_param06calc, error)
        && Text(o[Param07CalcKey], In(where, Param07CalcKey), &v->FLFinal_param07calc, error)
        && Text(o[Param08CalcKey], In(where, Param08CalcKey), &v->FLFinal_param08calc, error)
        && Flag(o[ZeroTotalKey], In(where, ZeroTotalKey), &v->ZeroTotal, error);
}

bool HiddenFromJson(const QJsonValue& value, const QString& where, TCalcDialogValues* v, QString* error)
{
    if (!value.isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(where));
    const QJsonObject o = value.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString& key = it.key();
        const QString field = In(where, key);
        if (key == MethodKey) {
            if (!Int32(it.value(), field, &v->method, error))
                return false;
            continue;
        }
        if (key == ClassKey) {
            if (!Int32(it.value(), field, &v->BOSClass, error))
                return false;
            continue;
        }
        const TSpin* spin = nullptr;
        for (const TSpin& s : Spins)
            if (key == QLatin1String(s.Name))
                spin = &s;
        if (!spin)
            return Fail(error, QStringLiteral("unknown key \"%1\" in %2").arg(key, where));
        if (!RealFromJsonValue(it.value(), field, &(v->*(spin->Field)), error))
            return false;
    }
    return true;
}

bool RunFromJson(
    const QJsonValue& value, const QString& where, TRunKind kind, TZoneRun* result, QString* error)
{
    if (!value.isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(where));
    const QJsonObject o = value.toObject();
    if (!OnlyKeys(o,
            { &RunKey, &InputsKey, &HiddenKey, &MixKey, &AnnouncementKey, &OutcomeKey, &HeightKey, &VolumeKey,
                &ExtentKey },
            where, error)
        || !Require(o,
            { &RunKey, &InputsKey, &MixKey, &AnnouncementKey, &OutcomeKey, &HeightKey, &VolumeKey,
                &ExtentKey },
            where, error))
        return false;
    TZoneRun run;
    QString name;
    if (!Text(o[RunKey], In(where, RunKey), &name, error))
        return false;
    bool known = false;
    for (const TRunName& r : RunNames)
        if (name == QLatin1String(r.Name)) {
            run.Run = r.Run;
            known = true;
        }
    if (!known || RunKindOf(run.Run) != kind)
        return Fail(error,
            QStringLiteral("field \"%1\" names no run of this kind: \"%2\"").arg(In(where, RunKey), name));
    if (!o[InputsKey].isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(In(where, InputsKey)));
    QString why;
    if (!RunInputsFromJson(run.Run, o[InputsKey].toObject(), &run.Values, &why))
        return Fail(error, In(where, InputsKey) + QStringLiteral(": ") + why);
    if (o.contains(HiddenKey) && !HiddenFromJson(o[HiddenKey], In(where, HiddenKey), &run.Values, error))
        return false;
    if (!MixFromJson(o[MixKey], In(where, MixKey), &run.Values, error)
        || !Text(o[AnnouncementKey], In(where, AnnouncementKey), &run.Announcement, error)
        || !RealFromJsonValue(o[OutcomeKey], In(where, OutcomeKey), &run.Outcome, error)
        || !RealFromJsonValue(o[HeightKey], In(where, HeightKey), &run.Height, error)
        || !RealFromJsonValue(o[VolumeKey], In(where, VolumeKey), &run.Volume, error))
        return false;
    const QJsonArray extent = o[ExtentKey].toArray();
    if (!o[ExtentKey].isArray() || extent.size() != 2
        || !WholeNumber(
            extent[0], In(where, ExtentKey), INT64_C(-1) << 40, INT64_C(1) << 40, &run.Width, error)
        || !WholeNumber(
            extent[1], In(where, ExtentKey), INT64_C(-1) << 40, INT64_C(1) << 40, &run.Depth, error))
        return Fail(
            error, QStringLiteral("field \"%1\" must be [width, depth] in pixels").arg(In(where, ExtentKey)));
    *result = std::move(run);
    return true;
}

// One zone entry of the file, checked and read, not yet given to a zone.
struct TZoneEntry {
    int32_t ID = 0;
    int64_t Width = 0;
    int64_t Depth = 0;
    int32_t H = 0;
    long double V = 0;
    TCalcParamsOrvann CP;
    TZoneRuns Runs;
};

bool ZoneFromJson(const QJsonValue& value, const QString& where, TZoneEntry* entry, QString* error)
{
    if (!value.isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(where));
    const QJsonObject o = value.toObject();
    if (!OnlyKeys(o,
            { &IDKey, &NameKey, &RectKey, &HKey, &VKey, &RecordKey, &CSensorKey, &RunsKey, &ExactKey }, where,
            error)
        || !Require(o, { &IDKey, &RectKey, &HKey, &VKey, &RecordKey, &RunsKey }, where, error))
        return false;
    TZoneEntry e;
    if (!Int32(o[IDKey], In(where, IDKey), &e.ID, error) || !Int32(o[HKey], In(where, HKey), &e.H, error)
        || !RealFromJsonValue(o[VKey], In(where, VKey), &e.V, error))
        return false;
    QString name;
    if (o.contains(NameKey) && !Text(o[NameKey], In(where, NameKey), &name, error))
        return false;
    const QJsonArray rect = o[RectKey].toArray();
    int32_t r[4] = {};
    if (!o[RectKey].isArray() || rect.size() != 4)
        return Fail(
            error, QStringLiteral("field \"%1\" must be [Left, Top, Right, Bottom]").arg(In(where, RectKey)));
    for (int i = 0; i < 4; ++i)
        if (!Int32(rect[i], In(where, RectKey), &r[i], error))
            return false;
    e.Width = static_cast<int64_t>(r[2]) - r[0];
    e.Depth = static_cast<int64_t>(r[3]) - r[1];
    if (!o[RecordKey].isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(In(where, RecordKey)));
    QString why;
    if (!RecordFromJson(o[RecordKey].toObject(), &e.CP, &why))
        return Fail(error, In(where, RecordKey) + QStringLiteral(": ") + why);
    if (o.contains(CSensorKey) && !Text(o[CSensorKey], In(where, CSensorKey), &e.CP.CSensor, error))
        return false;
    if (!o[RunsKey].isObject())
        return Fail(error, QStringLiteral("%1 must be an object").arg(In(where, RunsKey)));
    const QJsonObject runs = o[RunsKey].toObject();
    for (auto it = runs.begin(); it != runs.end(); ++it) {
        const TKindName* kind = nullptr;
        for (const TKindName& k : KindNames)
            if (it.key() == QLatin1String(k.Name))
                kind = &k;
        if (!kind)
            return Fail(error, QStringLiteral("unknown key \"%1\" in %2").arg(it.key(), In(where, RunsKey)));
        TZoneRun run;
        if (!RunFromJson(it.value(), In(In(where, RunsKey), it.key()), kind->Kind, &run, error))
            return false;
        // The texts the dialog showed are those of the zone as the run saw it.
        run.Values.edtParam1 = FormatGeneral(run.Height);
        run.Values.edtParam3 = FormatGeneral(run.Volume);
        e.Runs.Of(kind->Kind) = std::move(run);
    }
    if (o.contains(ExactKey)) {
        if (!o[ExactKey].isString())
            return Fail(error, QStringLiteral("field \"%1\" must be a string").arg(In(where, ExactKey)));
        const auto decoded = QByteArray::fromBase64Encoding(
            o[ExactKey].toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return Fail(error, QStringLiteral("field \"%1\" is not base64").arg(In(where, ExactKey)));
        ApplyExactForm(*decoded, e.CP, e.Runs);
    }
    *entry = std::move(e);
    return true;
}

TResultsLoad Rejected(const QString& warning)
{
    TResultsLoad r;
    r.Status = TResultsLoadStatus::Rejected;
    r.Warning = warning;
    return r;
}

} // namespace

// --- public --------------------------------------------------------------------------------

QString ProjectResultsFileName(const QString& projectFileName)
{
    const QString suffix = QFileInfo(projectFileName).suffix();
    const QString base = suffix.isEmpty() ? projectFileName : projectFileName.chopped(suffix.size() + 1);
    return base + QStringLiteral(".results.json");
}

bool RunInputsToJson(TCalcRun run, const TCalcDialogValues& values, QJsonObject* inputs, QString* error)
{
    const TCalcDialogSetup& setup = RunSetup(run);
    QJsonObject o;
    if (CalcDialogControlOffered(setup, MethodKey, values.method)
        && CalcDialogMethodOffered(setup, values.method))
        o[MethodKey] = values.method;
    for (const TSpin& s : Spins) {
        const QString key = QLatin1String(s.Name);
        if (CalcDialogControlOffered(setup, key, values.method)
            && !PutReal(o, key, values.*(s.Field), InputsKey, error))
            return false;
    }
    if (CalcDialogControlOffered(setup, ClassKey, values.method)
        && (values.BOSClass == BOSClassA2 || values.BOSClass == BOSClassA3))
        o[ClassKey] = values.BOSClass;
    o[DebugKey] = values.cbDebug;
    if (!values.FireLoads.empty()) {
        QJsonArray loads;
        for (const TFireLoad& load : values.FireLoads) {
            QJsonObject l;
            if (!FireLoadToJson(load, &l, error))
                return false;
            loads.append(l);
        }
        o[LoadsKey] = loads;
    }
    *inputs = o;
    return true;
}

bool RunInputsFromJson(TCalcRun run, const QJsonObject& in, TCalcDialogValues* values, QString* error)
{
    for (auto it = in.begin(); it != in.end(); ++it) {
        const QString& key = it.key();
        bool known = key == MethodKey || key == ClassKey || key == DebugKey || key == LoadsKey;
        for (const TSpin& s : Spins)
            known = known || key == QLatin1String(s.Name);
        if (!known)
            return Fail(error, QStringLiteral("unknown key \"%1\"").arg(key));
    }
    const TCalcDialogSetup& setup = RunSetup(run);
    TCalcDialogValues v = CalcDialogInitialValues(setup);
    v.edtParam1.clear();
    v.edtParam3.clear();
    if (in.contains(MethodKey)) {
        if (!Int32(in[MethodKey], MethodKey, &v.method, error))
            return false;
        if (v.method < 1 || v.method > 5)
            return Fail(error, QStringLiteral("field \"method\" must be 1 … 5"));
    }
    for (const TSpin& s : Spins) {
        const QString key = QLatin1String(s.Name);
        if (in.contains(key) && !RealFromJsonValue(in[key], key, &(v.*(s.Field)), error))
            return false;
    }
    if (in.contains(ClassKey)) {
        if (!Int32(in[ClassKey], ClassKey, &v.BOSClass, error))
            return false;
        if (v.BOSClass != BOSClassA2 && v.BOSClass != BOSClassA3)
            return Fail(error, QStringLiteral("field \"BOSClass\" must be 1 (A2) or 2 (A3)"));
    }
    if (v.BOSClass == BOSClassA2)
        v.seParam11 = v.seParam10 + CalcDialogDefaults::ClassA2Rise;
    else if (v.BOSClass == BOSClassA3)
        v.seParam11 = v.seParam10 + CalcDialogDefaults::ClassA3Rise;
    if (in.contains(DebugKey) && !Flag(in[DebugKey], DebugKey, &v.cbDebug, error))
        return false;
    if (in.contains(LoadsKey)) {
        if (!in[LoadsKey].isArray())
            return Fail(error, QStringLiteral("field \"loads\" must be an array of fire loads"));
        const QJsonArray list = in[LoadsKey].toArray();
        for (qsizetype i = 0; i < list.size(); ++i) {
            TFireLoad load;
            if (!FireLoadFromJson(list[i], QStringLiteral("loads[%1]").arg(i), true, &load, error))
                return false;
            if (!list[i].toObject().contains(QStringLiteral("ListId")))
                load.ListId = static_cast<int32_t>(i + 1);
            v.FireLoads.push_back(std::move(load));
        }
    }
    *values = std::move(v);
    return true;
}

QByteArray ProjectResultsToBytes(const TFireProject& project, QString* zonesLeftOut, int* zonesWritten)
{
    QJsonArray zones;
    int leftOut = 0;
    QString firstReason;
    for (const auto& room : project.GetRooms()) {
        if (!HasResult(*room))
            continue;
        QJsonObject z;
        QString why;
        if (!ZoneToJson(*room, &z, &why)) {
            if (leftOut++ == 0)
                firstReason = QStringLiteral("%1: %2").arg(room->Name(), why);
            continue;
        }
        zones.append(z);
    }
    if (zonesLeftOut)
        *zonesLeftOut
            = leftOut > 0 ? ProjectResultsText::ZonesLeftOut.arg(leftOut).arg(firstReason) : QString();
    if (zonesWritten)
        *zonesWritten = static_cast<int>(zones.size());
    if (zones.isEmpty())
        return QByteArray();
    // One zone per line: a person can still find a zone in the file, and a diff of two
    // saves shows which zones changed.
    std::string text;
    text.reserve(static_cast<size_t>(zones.size()) * 16384);
    text += "{\"format\":";
    AppendString(text, ProjectResultsFile::Format);
    text += ",\"version\":";
    AppendNumber(text, ProjectResultsFile::Version);
    text += ",\"zones\":[\n";
    for (qsizetype i = 0; i < zones.size(); ++i) {
        AppendJson(text, zones[i]);
        text += i + 1 < zones.size() ? ",\n" : "\n";
    }
    text += "]}\n";
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

TResultsSave SaveProjectResults(const TFireProject& project, const QString& projectFileName)
{
    TResultsSave s;
    const QString name = ProjectResultsFileName(projectFileName);
    const QByteArray bytes = ProjectResultsToBytes(project, &s.Warning, &s.Zones);
    auto failed = [&s, &name](const QString& why) {
        s.Ok = false;
        s.Error = ProjectResultsText::NotSaved.arg(name, why);
        return s;
    };
    if (bytes.isEmpty()) {
        QFile old(name);
        if (old.exists() && !old.remove())
            return failed(old.errorString());
        return s;
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    if (!file.commit())
        return failed(file.errorString());
    return s;
}

TResultsLoad ProjectResultsFromBytes(
    TFireProject& project, const QByteArray& bytes, const QString& fileName, TResultsMerge merge)
{
    QJsonParseError parse {};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return Rejected(ProjectResultsText::Damaged.arg(
            fileName, QStringLiteral("%1 at offset %2").arg(parse.errorString()).arg(parse.offset)));
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root[FormatKey] != QJsonValue(ProjectResultsFile::Format))
        return Rejected(ProjectResultsText::Foreign.arg(fileName));
    const QJsonValue version = root[VersionKey];
    if (version != QJsonValue(ProjectResultsFile::Version)) {
        const QString shown = version.isDouble() ? FormatGeneral(version.toDouble())
            : version.isString()                 ? version.toString()
                                                 : QStringLiteral("?");
        return Rejected(
            ProjectResultsText::OtherVersion.arg(fileName, shown).arg(ProjectResultsFile::Version));
    }
    QString why;
    if (!OnlyKeys(root, { &FormatKey, &VersionKey, &ZonesKey }, QStringLiteral("the file"), &why))
        return Rejected(ProjectResultsText::Damaged.arg(fileName, why));
    if (!root[ZonesKey].isArray())
        return Rejected(ProjectResultsText::Damaged.arg(fileName, QStringLiteral("no array \"zones\"")));

    // Every entry is read before any zone changes: a file damaged anywhere gives nothing.
    const QJsonArray list = root[ZonesKey].toArray();
    std::vector<TZoneEntry> entries(static_cast<size_t>(list.size()));
    std::set<int32_t> ids;
    for (qsizetype i = 0; i < list.size(); ++i) {
        TZoneEntry& e = entries[static_cast<size_t>(i)];
        if (!ZoneFromJson(list[i], QStringLiteral("zones[%1]").arg(i), &e, &why))
            return Rejected(ProjectResultsText::Damaged.arg(fileName, why));
        if (!ids.insert(e.ID).second)
            return Rejected(ProjectResultsText::Damaged.arg(
                fileName, QStringLiteral("zone %1 appears more than once").arg(e.ID)));
    }

    TResultsLoad result;
    result.Status = TResultsLoadStatus::Loaded;
    for (TZoneEntry& e : entries) {
        TRoom* room = project.GetRoom(e.ID);
        const bool same = room != nullptr && room->H() == e.H && room->V() == e.V
            && static_cast<int64_t>(room->Rect().Right) - room->Rect().Left == e.Width
            && static_cast<int64_t>(room->Rect().Bottom) - room->Rect().Top == e.Depth;
        if (!same) {
            ++result.NotRestored;
            continue;
        }
        if (merge == TResultsMerge::KeepExisting && HasResult(*room))
            continue;
        room->CP = std::move(e.CP);
        room->Runs = std::move(e.Runs);
        ++result.Restored;
    }
    if (result.NotRestored > 0)
        result.Warning = ProjectResultsText::NotRestored.arg(result.NotRestored);
    return result;
}

TResultsLoad LoadProjectResults(TFireProject& project, const QString& projectFileName, TResultsMerge merge)
{
    const QString name = ProjectResultsFileName(projectFileName);
    const QFileInfo info(name);
    if (!info.exists())
        return TResultsLoad {};
    QFile file(name);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return Rejected(ProjectResultsText::Unreadable.arg(
            info.fileName(), info.isFile() ? file.errorString() : QStringLiteral("not a file")));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Rejected(ProjectResultsText::Unreadable.arg(info.fileName(), file.errorString()));
    return ProjectResultsFromBytes(project, bytes, info.fileName(), merge);
}
