#include "displays/widgets/CDayGlanceG.h"

#include "displays/widgets/CDAGListBox.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtListPrinter.h"
#include "ui/CQtPrompt.h"
#include "ui/ColorRef.h"
#include "ui/HelpTopics.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CDayGlanceG::CDayGlanceG(CDayGlance& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_glance(model) {
    setWindowTitle(QString::fromLatin1(CDayGlance::kTitle));
    const bool twelve = model.form() == CDayGlance::Form::twelveHours;
    auto* layout = new QVBoxLayout(this);

    m_date = datePickerQt({model.year(), model.month(), model.day()}, "date", this,
                          QStringLiteral("dddd, MMMM dd, yyyy"));
    m_date->setAccessibleName(QStringLiteral("Date"));
    auto* top = new QHBoxLayout;
    top->addWidget(m_date);
    if (twelve) {
        auto* label = new QLabel(QStringLiteral("&Show 12 Hours Beginning"), this);
        m_hour = new QLineEdit(QString::number(model.startHour()), this);
        m_hour->setObjectName(QStringLiteral("startHour"));
        m_hour->setMaximumWidth(40);
        label->setBuddy(m_hour);
        auto* up = new QToolButton(this);
        up->setArrowType(Qt::UpArrow);
        up->setObjectName(QStringLiteral("hourUp"));
        auto* down = new QToolButton(this);
        down->setArrowType(Qt::DownArrow);
        down->setObjectName(QStringLiteral("hourDown"));
        for (QToolButton* b : {up, down}) {
            b->setFixedSize(18, 12);
            b->setFocusPolicy(Qt::NoFocus);
        }
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        arrows->addWidget(up);
        arrows->addWidget(down);
        m_hourLabel = new QLabel(QString::fromLatin1(model.hourLabel()), this);
        m_hourLabel->setObjectName(QStringLiteral("hourLabel"));
        top->addSpacing(16);
        top->addWidget(label);
        top->addWidget(m_hour);
        top->addLayout(arrows);
        top->addWidget(m_hourLabel);
        connect(up, &QToolButton::clicked, this, [this] {
            m_glance.stepStartHour(1);
            refill();
        });
        connect(down, &QToolButton::clicked, this, [this] {
            m_glance.stepStartHour(-1);
            refill();
        });
        connect(m_hour, &QLineEdit::editingFinished, this, &CDayGlanceG::takeStartHour);
    }
    top->addStretch(1);
    layout->addLayout(top);
    if (twelve)
        layout->addWidget(new QLabel(
            QStringLiteral(
                "Click on an item name to see detail reservation information for that item."),
            this));

    m_list = new CDAGListBox(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setAccessibleName(windowTitle());
    m_list->setFont(listFont());
    m_list->setStarColour(colorFromStored(model.occupiedColour()));
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
    if (twelve) {
        QPushButton* refresh =
            buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
        refresh->setObjectName(QStringLiteral("refresh"));
        connect(refresh, &QPushButton::clicked, this, [this] {
            m_glance.reload();
            refill();
        });
    }
    CQtListPrinter::addPrintButton(buttons, this, [this] { return m_glance.printRequest(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    setHelpTopic(QString::fromLatin1(help::kDayAtAGlance), buttons);

    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        m_glance.setDate(date.month(), date.day(), date.year());
        refill();
    });
    connect(m_list, &CDAGListBox::lineChosen, this, &CDayGlanceG::lineClicked);

    refill();
    const QSize list = m_list->sizeFor(CDayGlance::kNameWidth + CQuarterHourLine::kGap +
                                           CDayGlance::partLength(model.form()),
                                       std::max(m_list->count(), 12));
    m_list->setMinimumWidth(list.width());
    resize(std::max(sizeHint().width(), 480), std::min(sizeHint().height() + list.height(), 700));
}

QFont CDayGlanceG::listFont() {
    return CQtListPrinter::fixedFont(QStringLiteral("Courier"), 10);
}

void CDayGlanceG::refill() {
    m_list->setLines(m_glance.lines(), m_glance.blockoutMarks());
    if (m_hour) m_hour->setText(QString::number(m_glance.startHour()));
    if (m_hourLabel) m_hourLabel->setText(QString::fromLatin1(m_glance.hourLabel()));
}

void CDayGlanceG::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    // A focused button is pressed as usual; the fields and the list have done their part (the
    // hour field took its hour, the list opened its line) when the key arrives here.
    if (!enter || qobject_cast<QPushButton*>(focus)) {
        CModelDialog::keyPressEvent(event);
        return;
    }
    if (focus && (focus == m_date || m_date->isAncestorOf(focus))) {
        const QDate date = m_date->date();
        m_glance.setDate(date.month(), date.day(), date.year());
        refill();
    }
    event->accept();
}

void CDayGlanceG::takeStartHour() {
    // The message box of a refused hour takes the focus, which ends the editing once more.
    if (m_takingHour || m_hour->text() == QString::number(m_glance.startHour())) return;
    m_takingHour = true;
    // A refused hour leaves the previous one in the field.
    m_glance.typeStartHour(CQtPrompt::toStored(m_hour->text()), prompt());
    refill();
    m_takingHour = false;
}

void CDayGlanceG::lineClicked(int row) {
    if (m_glance.openLine(row)) refill();
}

void CDayGlanceG::registerDialogs() {
    registerDialog<CDayGlance, CDayGlanceG>(CDayGlance::kId);
}

} // namespace orv
