#include "About.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSysInfo>

#include "AppIdentity.h"
#include "Art.h"
#include "FontSubstitutes.h"
#include "GdiFont.h"

namespace soten::ui {

namespace {

using platform::GdiFont;
using platform::Smoothing;

QFont ArialFont(int height) {
    return GdiFont("Arial", height, false, Smoothing::On);
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
        setObjectName(QStringLiteral("Shape1"));
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

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("蒼天姓名判断のバージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(297, 122);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(16, 24, 32, 32);
    // From the 64-pixel icon on a screen scaled by 2.
    ProgramIcon->setPixmap(ApplicationIcon().pixmap(QSize(32, 32), devicePixelRatioF()));

    ProductName = Label(this, "ProductName", ApplicationTitle(), {64, 16},
                        GdiFont(platform::ProportionalGothicFace, 19, true, Smoothing::On));
    Version = Label(this, "Version", VersionText(), {192, 19}, ArialFont(16));
    Label1 = Label(this, "Label1", PlatformLine(), {72, 40}, ArialFont(13));
    Copyright = Label(this, "Copyright", CopyrightText(ArialFont(13)), CopyrightAt, ArialFont(13));
    Shape1 = new Circle(this, CircleGeometry);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(16, 80, 265, 2);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(207, 92, 75, 21);
    OKButton->setFont(ArialFont(12));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace soten::ui
