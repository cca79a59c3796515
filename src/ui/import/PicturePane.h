#pragma once

#include <QFrame>
#include <QImage>
#include <QRectF>

#include <vector>

// Shows one picture scaled to fit the pane, centred and with its aspect kept, and optionally
// outlines over it. The outlines are given in the picture's pixels (pixel x covers x..x+1), so
// they stay on the picture however the pane is sized.
class PicturePane : public QFrame {
    Q_OBJECT

public:
    enum class Shape { Ellipse, Rectangle };

    explicit PicturePane(QWidget* parent = nullptr);

    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    const std::vector<QRectF>& Outlines() const { return m_outlines; }
    Shape OutlineShape() const { return m_shape; }
    // Replaces the outlines; an empty list removes them.
    void SetOutlines(std::vector<QRectF> outlines, Shape shape);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the picture lies in the pane.
    QRectF Target() const;

    QImage m_picture;
    std::vector<QRectF> m_outlines;
    Shape m_shape = Shape::Ellipse;
};
