#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>

#include <optional>

namespace kamorin {

// What a screen reader hears of a running button: a progress bar laid over
// its face, which draws nothing. Orca speaks a progress bar's percent as it
// goes, by its own settings, wherever the focus is; its words (計算中 42%　…)
// label the button, so asking where the focus is says them too.
class SpokenProgress : public QWidget
{
    Q_OBJECT

public:
    explicit SpokenProgress(QWidget *parent);

    void restart();
    void setProgress(int percent, const QString &words);
    int percent() const { return m_percent; }
    const QString &words() const { return m_words; }

private:
    int m_percent = 0;
    QString m_words;
    QElapsedTimer m_told;
};

// A command button whose face can fill from the left as a progress bar. The
// fill is only drawn, and told to screen readers by a SpokenProgress: the
// caption, and every property the handlers know, stay as they are. Enter and
// keypad Enter press it as Space does.
class ProgressButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    // 0 … 1 of the face filled, with words for it; none for a plain button.
    void setFill(std::optional<double> fraction, const QString &words = {});
    std::optional<double> fill() const { return m_fill; }
    // Whole percent of the fill, as a screen reader reads it.
    std::optional<int> percent() const;
    // Shown while the button fills.
    SpokenProgress *spokenProgress() const { return m_spoken; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<double> m_fill;
    QPointer<SpokenProgress> m_spoken;
};

} // namespace kamorin
