#include "ui/app/SplashScreen.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "ui/app/Art.h"
#include "ui/widgets/WindowPlacement.h"

namespace soten::ui {

namespace {

constexpr QSize SplashSize(512, 341);

// The picture; a press and release on it is a click. It is rendered for
// the screen it is shown on, and again should the window reach a screen with
// another pixel ratio.
class SplashPictureView final : public QWidget {
public:
    SplashPictureView(QWidget* parent, std::function<void()> onClick)
        : QWidget(parent), onClick_(std::move(onClick)) {
        setObjectName(QStringLiteral("picture"));
        setGeometry(QRect(QPoint(0, 0), SplashSize));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAccessibleName(QStringLiteral("蒼天姓名判断"));
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        const qreal ratio = devicePixelRatioF();
        if (picture_.isNull() || !qFuzzyCompare(picture_.devicePixelRatio(), ratio)) {
            picture_ = SplashPicture(ratio);
        }
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture_);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            onClick_();
        }
    }

private:
    QPixmap picture_;
    std::function<void()> onClick_;
};

}  // namespace

SplashScreen::SplashScreen() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(SplashSize);
    picture = new SplashPictureView(this, [this] { emit pictureClicked(); });
    CentreWindow(*this, AvailableScreenArea(), SplashSize);
}

void SplashScreen::ShowAndPaint() {
    show();
    // The window system maps the window asynchronously; wait (briefly) for
    // it to be exposed so the paint below reaches the screen.
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(500);
    while (windowHandle() && !windowHandle()->isExposed() && limit.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
}

}  // namespace soten::ui
