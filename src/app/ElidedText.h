#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QString>

namespace ballotine {

// A one-line label that shows as much of its text as its width allows, ending in "…", with
// the whole text as its tooltip while it is cut: however long the text, it never widens the
// window. text() is the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // Sets the whole text (use this rather than setText, so the tooltip follows).
    void SetText(const QString& text);
    bool IsCut() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowWholeTextAsTip();
};

// A group box whose title is cut to its width in the same way, the whole title as tooltip;
// its size comes from its contents alone.
class ElidedGroupBox : public QGroupBox {
    Q_OBJECT

public:
    explicit ElidedGroupBox(const QString& title, QWidget* parent = nullptr);

    void SetWholeTitle(const QString& title);
    const QString& WholeTitle() const { return m_wholeTitle; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitTitle();

    QString m_wholeTitle;
};

} // namespace ballotine
