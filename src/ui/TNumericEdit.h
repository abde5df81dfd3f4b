#pragma once

#include "model/NumericRules.h"

#include <QAbstractSpinBox>
#include <QClipboard>

#include <cstdint>

// A numeric input with up/down buttons. Its text reads as a value by the rules of its
// TNumericSpec, values written into it are clamped and formatted, and only keys that can form a
// number are accepted. Every change of its text fires `changed` once.
class TNumericEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit TNumericEdit(const TNumericSpec& limits, QWidget* parent = nullptr);

    TValueType ValueType() const { return FSpec.ValueType; }
    long double MinValue() const { return FSpec.MinValue; }
    long double MaxValue() const { return FSpec.MaxValue; }
    long double Increment() const { return FSpec.Increment; }
    int Decimal() const { return FSpec.Decimal; }

    // The value of the text as typed: unparsable text reads as MinValue, nothing is clamped.
    long double Value() const;
    // The value truncated toward zero; EConvertError beyond 32 bits.
    int32_t AsInteger() const;
    // Shows value clamped and formatted; fires `changed` only when the text changes.
    void SetValue(long double value);

    void stepBy(int steps) override;

signals:
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool AcceptsCharacter(QChar c) const;
    void Paste(QClipboard::Mode mode);

    TNumericSpec FSpec;
};
