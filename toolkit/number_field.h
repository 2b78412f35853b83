#pragma once
// A number field and its spin button. The field is a line edit with a maximum length and a
// range; its value is its text read as a whole number, and text that is not one (an empty
// field, for instance) counts as the minimum. The user types freely: nothing corrects the
// text while it is typed, only setValue writes a clamped number. The spin button is a pair of
// arrows with its own value, step and range; a click on an arrow steps the value and reports
// it through `changed`, which the dialog writes into its field.

#include <QColor>
#include <QLineEdit>
#include <QWidget>

class QTimer;

namespace quendal {

class NumberField : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumberField(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // True when the text reads as a whole number (blanks around it and a sign allowed).
    bool holdsNumber() const;
    // The text as a whole number, unclamped; the minimum when it is not one.
    int value() const;
    // Writes the value, clamped to the range, as decimal text.
    void setValue(int value);

  private:
    int minimum_ = 0;
    int maximum_ = 100;
};

class SpinButton : public QWidget {
    Q_OBJECT
  public:
    explicit SpinButton(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setStep(int step);
    int step() const { return step_; }

    int value() const { return value_; }
    // Sets the value clamped to the range; a value set this way is not reported.
    void setValue(int value);

    // One step up or down, clamped to the range; reports the new value through `changed`
    // when it differs from the old one.
    void stepUp();
    void stepDown();

    // The colours of the arrows' faces, of the arrows themselves and of the line around them.
    void setColours(const QColor& face, const QColor& arrow, const QColor& line);

    QSize sizeHint() const override;

  signals:
    void changed(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    enum class Arrow { None, Up, Down };
    void stepBy(int direction);
    void repeat();
    void release();

    int minimum_ = 0;
    int maximum_ = 100;
    int step_ = 1;
    int value_ = 0;
    Arrow held_ = Arrow::None;
    QTimer* repeat_;
    QColor face_{215, 250, 240};
    QColor arrow_{88, 130, 173};
    QColor line_{88, 130, 173};
};

} // namespace quendal
