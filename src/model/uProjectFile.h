// The binary project file (".fsp", version "0006"): a flat sequence of packed fixed-size
// records - version, header, zones, doors, water sources, sensors - written and read in
// one pass. The file holds the plan and its objects only; calculation records, results,
// the background picture and the view options are not stored.
//
// TFireProject::SaveToFile and TFireProject::LoadFromFile (declared in uFireClasses.h)
// are defined on top of the two byte-level functions below.
//
// SaveToFile(fileName, error): writes the whole project through a temporary file in the
// same folder that then replaces the target in one step, so a failed or interrupted save
// leaves the previous file as it was. Answers true and clears the modified flag on
// success; on any file error answers false, stores the reason in *error (if given) and
// leaves the modified flag alone.
//
// LoadFromFile(fileName, error): fills a newly constructed, empty project. Answers true
// and clears the modified flag on success. Answers false, with the reason in *error, when
// the file is missing or unreadable, the version is not "0006", a record is cut short, a
// count is negative or larger than the file can hold, a door or sensor names a zone the
// file does not have, an enumeration byte is out of range, or a plan value lies outside
// the plan limits (PlanLimits in uFireClasses.h: a coordinate, size or height beyond
// ±16,777,215 pixels, a canvas larger than 10,000 x 10,000 pixels in area, a scale that is
// not finite or above 10^6 m per pixel); the version text in the reason has every byte
// that is not printable ASCII escaped as \xNN. It never reads past the end
// of the data, whatever the bytes. On false the project holds no zones and no water
// sources, but its header fields may have been changed: the caller loads into a fresh
// object and discards it when the answer is false. A project that is not empty is refused
// with false and left unchanged.
#pragma once

#include <QByteArray>
#include <QString>

class TFireProject;

// Record sizes of the project file, in bytes.
namespace ProjectFileLayout {
inline constexpr int VersionSize = 5;
inline constexpr int HeaderSize = 319;
inline constexpr int RoomSize = 305;
inline constexpr int DoorSize = 297;
inline constexpr int WaterSourceSize = 531;
inline constexpr int PierExtraSize = 10;
inline constexpr int SensorSize = 374;
inline constexpr int NameCapacity = 255;       // project, zone, water-source names and GUIDs
inline constexpr int SensorNameCapacity = 64;  // sensor names
} // namespace ProjectFileLayout

// The exact bytes SaveToFile writes for `project`. Texts are converted to Windows-1251
// (characters outside it become '?') and cut to their field's capacity.
QByteArray ProjectToBytes(const TFireProject& project);

// Fills the empty `project` from the bytes of a project file, with the contract of
// LoadFromFile above (the same checks, the same state on false). Does not touch the
// modified flag on failure; clears it and sets NeedRepaint on success.
bool ProjectFromBytes(TFireProject& project, const QByteArray& bytes, QString* error = nullptr);
