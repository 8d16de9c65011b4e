#include "ui/app/AboutDialog.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSysInfo>

#include "platform/drawing/CellFont.h"
#include "platform/drawing/FontSubstitutes.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/Art.h"

namespace soten::ui {

namespace {

using platform::CellFont;
using platform::Smoothing;

QFont ArialFont(int height) {
    return CellFont("Arial", height, false, Smoothing::On);
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QPoint at,
              const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->move(at);
    label->adjustSize();
    return label;
}

// An outline circle with a clear inside.
class Circle final : public QWidget {
public:
    Circle(QWidget* parent, QRect geometry) : QWidget(parent) {
        setObjectName(QStringLiteral("copyrightCircle"));
        setGeometry(geometry);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

constexpr QRect CircleGeometry(128, 59, 13, 13);
constexpr QPoint CopyrightAt(72, 56);

// The copyright line with a "c" placed where the circle laid over it makes
// it a copyright sign, whatever the widths of the face in use.
QString CopyrightText(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal circleCentre = CircleGeometry.center().x() + 0.5 - CopyrightAt.x();
    QString best;
    qreal bestDistance = 1e9;
    for (int spaces = 0; spaces < 12; ++spaces) {
        const QString before = QStringLiteral("Copyright") + QString(spaces, u' ');
        const qreal centre =
            metrics.horizontalAdvance(before) + metrics.horizontalAdvance(u'c') / 2;
        if (std::abs(centre - circleCentre) < bestDistance) {
            bestDistance = std::abs(centre - circleCentre);
            best = before;
        }
    }
    return best + QStringLiteral("c  2026 The Soten Authors");
}

}  // namespace

QString PlatformLine() {
    const QString kernel = QSysInfo::kernelType();
    if (kernel == QLatin1String("linux")) return QStringLiteral("for Linux");
    return QStringLiteral("for ") + QSysInfo::prettyProductName();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("蒼天姓名判断のバージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(297, 122);

    programIcon = new QLabel(this);
    programIcon->setObjectName(QStringLiteral("programIcon"));
    programIcon->setGeometry(16, 24, 32, 32);
    // From the 64-pixel icon on a screen scaled by 2.
    programIcon->setPixmap(ApplicationIcon().pixmap(QSize(32, 32), devicePixelRatioF()));

    productName = Label(this, "productName", ApplicationTitle(), {64, 16},
                        CellFont(platform::ProportionalGothicFace, 19, true, Smoothing::On));
    versionLabel = Label(this, "versionLabel", VersionText(), {192, 19}, ArialFont(16));
    platformLabel = Label(this, "platformLabel", PlatformLine(), {72, 40}, ArialFont(13));
    copyrightLabel =
        Label(this, "copyrightLabel", CopyrightText(ArialFont(13)), CopyrightAt, ArialFont(13));
    copyrightCircle = new Circle(this, CircleGeometry);

    bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("bevel"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(16, 80, 265, 2);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(207, 92, 75, 21);
    okButton->setFont(ArialFont(12));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace soten::ui
