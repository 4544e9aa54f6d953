#include "ui/about_window.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "kelvane_version.h"
#include "tables/table_form.h"
#include "ui/about_text.h"
#include "ui/binding.h"
#include "ui/verification_window.h"

namespace kelvane::ui {

AboutWindow::AboutWindow(std::vector<QWidget*> blocked, QWidget* parent)
    : QWidget(parent), blocked_(std::move(blocked)) {
    setObjectName("TForm3");
    setWindowTitle(kAboutCaption);
    auto* layout = new QVBoxLayout(this);
    auto* version = new QLabel(kAboutVersion, this);
    version->setObjectName("Label1");
    QFont big = version->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    version->setFont(big);
    auto* references = new QLabel(kAboutReferencesLabel, this);
    references->setObjectName("Label2");
    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName("Memo1");
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const std::string& line : ReferenceLines()) lines << ToQt(line);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    layout->addWidget(version);
    layout->addWidget(references);
    layout->addWidget(memo, 1);
    // The version of this build, from the project's one version number.
    auto* build = new QLabel(QStringLiteral("Version ") + QLatin1String(kVersion), this);
    build->setObjectName("LabelVersion");
    build->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(build);
    // Every published check value of the formulations, computed live.
    auto* verification = new QPushButton("Verification", this);
    verification->setObjectName("ButtonVerification");
    connect(verification, &QPushButton::clicked, this, [this] { ShowVerification(); });
    layout->addWidget(verification, 0, Qt::AlignLeft);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("ButtonClose");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    // Wide enough for the longest line and, where the screen allows, tall enough for
    // the whole list.
    const QFontMetrics m(memo->font());
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, m.horizontalAdvance(line));
    int height = m.lineSpacing() * (static_cast<int>(lines.size()) + 1) + 100;
    if (QScreen* s = screen()) height = std::min(height, s->availableGeometry().height() * 9 / 10);
    resize(widest + 60, height);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::ShowVerification() {
    if (!verification_) verification_ = std::make_unique<VerificationWindow>();
    verification_->show();
    verification_->raise();
    verification_->activateWindow();
}

void AboutWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* s = screen()) {
        const QRect g = s->geometry();
        const WindowPosition p =
            CentredPosition(g.width(), g.height(), frameGeometry().width(), frameGeometry().height());
        move(g.left() + p.left, g.top() + p.top);
    }
    for (QWidget* w : blocked_) w->setEnabled(false);
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutWindow::hideEvent(QHideEvent* event) {
    for (QWidget* w : blocked_) w->setEnabled(true);
    QWidget::hideEvent(event);
}

}  // namespace kelvane::ui
