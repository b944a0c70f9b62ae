#pragma once
// TProgForm: the progress window itself. Borderless, topmost tool window with a rounded outline,
// a painted background, an icon, a bold title, a prompt and one or two bars.
#include "ProgressLayout.h"

#include <QPixmap>
#include <QWidget>

class QProgressBar;

namespace wt {

class TzProgress;

class TProgForm : public QWidget {
    Q_OBJECT
public:
    explicit TProgForm(TzProgress& component);

    // Lays the window out from the component's texts and bar count and places it.
    void Arrange(QWidget* owner);
    QProgressBar* MainBar() const { return mainBar_; }
    QProgressBar* TopBar() const { return topBar_; }
    const ProgressGeometry& Geometry() const { return geometry_; }
    void SetTexts(const QString& title, const QString& prompt);
    void SetIcon(const QPixmap& icon);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TzProgress& component_;
    QProgressBar* mainBar_;
    QProgressBar* topBar_;
    QString title_, prompt_;
    QPixmap icon_;
    ProgressGeometry geometry_;
};

}  // namespace wt
