// TFloatSpinEdit: the real-number input of every window — a single-line text box with a
// pair of up/down arrow buttons at its right edge, limits, a step and a key filter.
#pragma once

#include <QLineEdit>

class QToolButton;

// The control keeps no value apart from its text: Value() parses the text each time with
// the user's decimal separator and gives MinValue() for a text that is not a number. No
// error is ever raised for bad text; refused keys beep through the prompts service.
//
// Limits apply only when MaxValue() differs from MinValue(). Writing a value (SetValue, the
// arrow buttons, the Up/Down keys, Enter and leaving the control) clamps it and rewrites
// the text in the general number format. textChanged() is the change event; KeyUp() is
// emitted on every key release.
class TFloatSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFloatSpinEdit(QWidget* parent = nullptr);

    double Value() const;
    void SetValue(double value);

    double MinValue() const { return FMinValue; }
    void SetMinValue(double value) { FMinValue = value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value) { FMaxValue = value; }
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    // When false, nothing can be typed (the arrows still change the value).
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool enabled) { FEditorEnabled = enabled; }
    // Select the whole text when the control gets the focus other than by a mouse click.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }

    // The step operations of the up and down buttons and the arrow keys: add or subtract
    // Increment(); with the control read-only they only beep.
    void UpClick();
    void DownClick();

    // True when `ch` passes the key filter in the control's current state.
    bool IsValidChar(QChar ch) const;

    QToolButton* UpButton() const { return FUpButton; }
    QToolButton* DownButton() const { return FDownButton; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool CanEditClipboard() const { return FEditorEnabled && !isReadOnly(); }
    void PlaceButtons();

    double FMinValue = 0;
    double FMaxValue = 0;
    double FIncrement = 1.0;
    QToolButton* FUpButton = nullptr;
    QToolButton* FDownButton = nullptr;
    bool FEditorEnabled = true;
    bool FAutoSelect = true;
};
