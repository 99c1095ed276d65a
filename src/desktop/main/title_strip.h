#pragma once
// The main window draws its own title strip: caption, minimise, close, drag to move.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace vorblin {

class TitleStrip final : public QWidget {
  public:
    TitleStrip(QWidget* window, const QString& caption);

    QRect MinimizeButton() const;
    QRect CloseButton() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString caption_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace vorblin
