// The real-number input with up/down buttons, limits, a step and a key filter.
#include "FloatSpinEdit.h"

#include "uNumberText.h"
#include "uPrompts.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>
#include <cmath>

namespace {
constexpr int KButtonWidth = 15;
}

TFloatSpinEdit::TFloatSpinEdit(QWidget* parent)
    : QLineEdit(parent)
{
    auto makeButton = [this](Qt::ArrowType arrow, const char* name) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setArrowType(arrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setCursor(Qt::ArrowCursor);
        button->setAutoRaise(false);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(7, 5));
        return button;
    };
    FUpButton = makeButton(Qt::UpArrow, "FButtonUp");
    FDownButton = makeButton(Qt::DownArrow, "FButtonDown");
    connect(FUpButton, &QToolButton::clicked, this, &TFloatSpinEdit::UpClick);
    connect(FDownButton, &QToolButton::clicked, this, &TFloatSpinEdit::DownClick);
    // Keep the text from running under the buttons.
    setTextMargins(0, 0, KButtonWidth + 2, 0);
    // Text comes in by typing or, when allowed, by pasting; never by dropping.
    setAcceptDrops(false);
    setText(QStringLiteral("0.0"));
    PlaceButtons();
}

double TFloatSpinEdit::Value() const
{
    long double value = 0;
    if (!TryParseNumber(text(), &value, DecimalSeparator()))
        return FMinValue;
    return static_cast<double>(value);
}

void TFloatSpinEdit::SetValue(double value)
{
    if (std::isnan(value))
        value = FMinValue;
    if (FMaxValue != FMinValue) {
        if (value < FMinValue)
            value = FMinValue;
        else if (value > FMaxValue)
            value = FMaxValue;
    }
    const QString newText = FormatGeneral(static_cast<long double>(value), DecimalSeparator());
    // Like any edit, the change event fires only when the text really changes.
    if (newText != text())
        setText(newText);
}

void TFloatSpinEdit::UpClick()
{
    if (isReadOnly()) {
        Prompts().Beep();
        return;
    }
    SetValue(Value() + FIncrement);
}

void TFloatSpinEdit::DownClick()
{
    if (isReadOnly()) {
        Prompts().Beep();
        return;
    }
    SetValue(Value() - FIncrement);
}

bool TFloatSpinEdit::IsValidChar(QChar ch) const
{
    const char16_t code = ch.unicode();
    if (code > 255)
        return false;
    const bool control = code < 32 && code != 13;
    bool valid = control || ch == QLatin1Char('+') || ch == QLatin1Char('-')
        || (code >= '0' && code <= '9') || ch == DecimalSeparator();
    if (valid && !FEditorEnabled)
        valid = code < 32 && code != 13 && code != 8;
    return valid;
}

void TFloatSpinEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        // The arrows step the value before the edit sees the key.
        if (key == Qt::Key_Up)
            UpClick();
        else
            DownClick();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        if (CanEditClipboard())
            QLineEdit::keyPressEvent(event);
        else
            event->accept();
        return;
    }
    if (event->modifiers() & Qt::AltModifier) {
        // Alt combinations are menu accelerators, not typed characters.
        event->ignore();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter normalises the text and applies the limits; as a character it is refused,
        // so it reaches neither the edit nor the dialog's default button.
        SetValue(Value());
        Prompts().Beep();
        event->accept();
        return;
    }
    QString chars = event->text();
    if (key == Qt::Key_Delete || key == Qt::Key_Escape)
        chars.clear(); // keys, not characters
    if ((event->modifiers() & Qt::ControlModifier) && chars.size() == 1 && chars[0].unicode() < 128
        && chars[0].isLetter())
        chars = QString(QChar(chars[0].toUpper().unicode() & 0x1F)); // Ctrl+letter is a control character
    for (const QChar ch : std::as_const(chars)) {
        if (!IsValidChar(ch)) {
            Prompts().Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TFloatSpinEdit::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    emit KeyUp(event->key(), event->modifiers());
}

void TFloatSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (FAutoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
}

void TFloatSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another application taking the focus is not leaving the control.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        SetValue(Value());
}

void TFloatSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceButtons();
}

void TFloatSpinEdit::PlaceButtons()
{
    const int h = height();
    const int upHeight = h / 2;
    FUpButton->setGeometry(width() - KButtonWidth, 0, KButtonWidth, upHeight);
    FDownButton->setGeometry(width() - KButtonWidth, upHeight, KButtonWidth, h - upHeight);
}

QSize TFloatSpinEdit::sizeHint() const
{
    QSize size = QLineEdit::sizeHint();
    return QSize(size.width(), qMax(size.height(), 22));
}

QSize TFloatSpinEdit::minimumSizeHint() const
{
    const QSize size = QLineEdit::minimumSizeHint();
    return QSize(size.width() + KButtonWidth, size.height());
}

void TFloatSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (!CanEditClipboard()) {
        for (QAction* action : menu->actions())
            if (action->objectName() == QLatin1String("edit-paste") || action->objectName() == QLatin1String("edit-cut"))
                action->setEnabled(false);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TFloatSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the selection on some desktops: the same rule as paste.
    if (event->button() == Qt::MiddleButton && !CanEditClipboard()) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TFloatSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    for (const QChar ch : event->commitString()) {
        if (!IsValidChar(ch)) {
            Prompts().Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}
