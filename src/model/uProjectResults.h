// The results file kept beside a project: the calculation results of its zones, which the
// project file (version "0006", unchanged byte for byte) has no place for. Saving a
// project as office.fsp also writes office.results.json; opening office.fsp reads it back
// into the zones that are still the zones it was written for.
//
// The file is UTF-8 JSON:
//   {"format": "tesvorn-results", "version": 1, "zones": [ZONE, …]}
// with one ZONE for every zone that has any result (a kept run or a result flag):
//   {"ID", "Name", "Rect": [Left, Top, Right, Bottom], "H" (pixels), "V" (m³),
//    "record": the zone's record as `tesvorn-cli run` prints it, "CSensor": GUID,
//    "runs": {"VOP"|"NSP"|"FL": RUN}, "exact": base64}
// RUN is the last accepted run of that kind:
//   {"run": "vop"|"vop-optimised"|"initial-stage"|"fireload",
//    "inputs": the dialog's values as the inputs of `tesvorn-cli run` (RunInputsToJson),
//    "hidden": values of controls the run's dialog hides, where a replay of "inputs" would
//              give others (left out when there are none),
//    "mix": the fire-load combination the dialog computed ("FireLoadFinal", "value13", the
//           four formula texts, "ZeroTotal"),
//    "announcement", "outcome", "height" (m), "volume" (m³), "extent": [width, depth] px}
// JSON numbers are doubles; "exact" keeps the reals of the zone entry that are not whole
// numbers (those their JSON numbers carry exactly) as 10-byte extended reals
// (uBinaryCodec.h): in base64, a bitmap with one bit per real in a fixed order, then the
// reals whose bit is set. The order: the record's reals as ForEachRecordReal visits them,
// then per kept run (VOP, NSP, FL) seParam2, seParam4, seParam10 … seParam16, seValue11,
// the ten properties of each load, of FireLoadFinal, value13, outcome, height, volume. So a
// record comes back equal to the one saved, to the last bit. A value whose double no
// longer matches its exact form (the readable number was edited) keeps the readable number;
// a form that does not fit the entry is ignored. The file is written compact, one zone per
// line.
//
// Reading never prevents opening the project: a damaged, cut-short, foreign or
// other-version file gives no result at all and one warning that says why; a zone whose
// ID, extent (Right − Left, Bottom − Top), height H and volume V are not those of a zone of
// the project is left out and counted. Nothing here shows anything.
#pragma once

#include "uCalcDialogValues.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class TFireProject;
class TRoom;

namespace ProjectResultsFile {
inline const QString Format = QStringLiteral("tesvorn-results");
constexpr int Version = 1;
}

// Texts of the results file for the user (status bar or message box).
namespace ProjectResultsText {
inline const QString NotRestored
    = QStringLiteral("Результаты расчета не восстановлены для %1 зон: зоны изменены");
inline const QString Unreadable = QStringLiteral(
    "Не удалось прочитать файл результатов расчета %1 (%2). Проект открыт без результатов расчета.");
inline const QString Damaged
    = QStringLiteral("Файл результатов расчета %1 поврежден (%2). Проект открыт без результатов расчета.");
inline const QString Foreign = QStringLiteral(
    "Файл %1 не является файлом результатов расчета. Проект открыт без результатов расчета.");
inline const QString OtherVersion
    = QStringLiteral("Файл результатов расчета %1 записан в версии %2, программа читает версию %3. "
                     "Проект открыт без результатов расчета.");
inline const QString NotSaved = QStringLiteral("Не удалось сохранить результаты расчета в файл %1: %2");
inline const QString ZonesLeftOut = QStringLiteral(
    "Результаты расчета не сохранены для %1 зон: в записи расчета есть нечисловое значение (%2).");
}

// The results file of a project file: the same folder and base name with the suffix
// ".results.json" in place of the project's suffix (office.fsp → office.results.json; a
// name without a suffix gains it).
QString ProjectResultsFileName(const QString& projectFileName);

// The run's values as the inputs JSON of `tesvorn-cli run`: every control the run's
// dialog offers (CalcDialogControlOffered, for the method chosen) by its name, "method" and
// "BOSClass" where offered (and, for the method, where the run offers it), "cbDebug", and
// "loads" as full loads with their "Id" and "ListId" (left out when the list is empty).
// The height and volume are not inputs: the run takes them from the zone. False with
// *error naming the field for a value JSON cannot carry.
bool RunInputsToJson(TCalcRun run, const TCalcDialogValues& values, QJsonObject* inputs, QString* error);

// The dialog's values from such inputs, as `tesvorn-cli run` takes them: the values of a
// fresh dialog set up for the run (CalcDialogDefaults with the run's own figures: for the
// standard run spacing 5, area 10 and class A3) with the keys applied, the method first,
// the class then setting seParam11 from seParam10, the loads in full ("Id" −1 and "ListId"
// the position from 1 when left out). The texts edtParam1 and edtParam3 stay empty and the
// fire-load combination is not computed: the caller sets them. An unknown key, a value of
// the wrong type or out of range answers false with *error naming it; *values is then
// unchanged.
bool RunInputsFromJson(TCalcRun run, const QJsonObject& inputs, TCalcDialogValues* values, QString* error);

// --- writing -----------------------------------------------------------------------------

struct TResultsSave {
    bool Ok = true; // false: nothing was written or removed; Error says why
    QString Error; // ProjectResultsText::NotSaved with the reason
    int Zones = 0; // zones written
    QString Warning; // ProjectResultsText::ZonesLeftOut when a zone could not be written
};

// The bytes of the results file for `project`, or an empty array when no zone has a
// result. A zone whose record or runs hold a value JSON cannot carry (infinite or
// undefined) is left out; *zonesLeftOut (if given) receives ProjectResultsText::ZonesLeftOut
// for them, else is emptied; *zonesWritten the number written.
QByteArray ProjectResultsToBytes(
    const TFireProject& project, QString* zonesLeftOut = nullptr, int* zonesWritten = nullptr);

// Writes the results file of `projectFileName` atomically (through a temporary file that
// replaces it only when complete). When no zone has a result an existing results file is
// removed instead, so a file under that name never speaks for zones it was not written for.
// Call after the project file itself was saved (Save and Save As alike).
TResultsSave SaveProjectResults(const TFireProject& project, const QString& projectFileName);

// --- reading -----------------------------------------------------------------------------

enum class TResultsLoadStatus {
    NoFile, // there is no results file: nothing happened, no warning
    Loaded, // the file was read; Restored zones got their results back
    Rejected, // the file is unreadable, damaged, cut short, foreign or of another version:
              // no zone got anything, Warning says why
};

// What zones that already have results do when the file has results for them too.
enum class TResultsMerge {
    Replace, // the file's results replace them (opening a project)
    KeepExisting, // they keep theirs (adding a file's results to a project with new ones)
};

struct TResultsLoad {
    TResultsLoadStatus Status = TResultsLoadStatus::NoFile;
    int Restored = 0; // zones that got their record and runs back
    int NotRestored = 0; // zones of the file that match no zone of the project
    // The one text to show, empty when there is nothing to say: ProjectResultsText::
    // NotRestored when NotRestored > 0, the reason of a rejection otherwise.
    QString Warning;
};

// Reads the bytes of a results file into `project`: every zone entry is checked before
// any zone is changed, so a rejected file changes nothing. A matching zone gets its record
// (CP, with CSensor) and its kept runs back; the modified flag is left alone. `fileName`
// only names the file in the warning.
TResultsLoad ProjectResultsFromBytes(TFireProject& project, const QByteArray& bytes, const QString& fileName,
    TResultsMerge merge = TResultsMerge::Replace);

// Reads the results file of `projectFileName` (ProjectResultsFileName) into `project`,
// which was just loaded from that project file. No results file: NoFile, nothing changes.
TResultsLoad LoadProjectResults(
    TFireProject& project, const QString& projectFileName, TResultsMerge merge = TResultsMerge::Replace);
