// Small helpers shared by the windows: the number check with its user message and the
// version text of the program. The geometry helpers (RoundedDistance, PointInTriangle) and
// the rotated text output (TextOutRotated) live below the user interface, because the
// calculations and the plan renderer need them too; they are made available here.
#pragma once

#include <QString>

#include "uGeometry.h"      // RoundedDistance, PointInTriangle
#include "uTextOutRotated.h" // TextOutRotated

class QWidget;

// Tries to read S as a number with the user's decimal separator; the value is not kept.
// Returns whether S is a number. When it is not and WithMessage is set, first shows the
// warning "Введенное значение "S" [в поле "FieldName"] не является числом. ..." with the
// caption "Ошибка: неверное значение" through the prompts service. Never throws.
bool CheckNumber(const QString& S, bool WithMessage, const QString& FieldName, QWidget* parent = nullptr);

// The text of CheckNumber's warning for S and FieldName (the field part is left out when
// FieldName is empty); the line break is CR CR LF and the last character is the user's
// decimal separator.
QString CheckNumberMessage(const QString& S, const QString& FieldName);

// The product version of an executable file as four numbers joined by "."
// (major.minor.release.build). Only the program's own executable carries a version, the
// one it was built with; every other file, and a missing one, gives an empty text.
QString GetFileVersionText(const QString& FileName);
