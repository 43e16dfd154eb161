#include "settings/HotKeyRecorder.h"

#include "design/widgets/FieldFrame.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"
#include "design/widgets/TextLine.h"
#include "settings/HotKeyRecorderModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace settings {

namespace {

constexpr qreal kTextSize = 12.5;
constexpr qreal kKeycapSpacing = 4;
constexpr qreal kAccessoryDiameter = 18;
constexpr qreal kAccessorySymbolSize = 8.5;
constexpr QMargins kFieldPadding{8, 6, 6, 6};
constexpr int kFieldSpacing = 6;

std::optional<Qt::KeyboardModifier> modifierOfKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return Qt::AltModifier;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return Qt::MetaModifier;
    default:
        return std::nullopt;
    }
}

}  // namespace

// The field's face: what the model says it shows, drawn in one piece so that
// the whole width takes the click.
class RecorderFace final : public QAbstractButton {
public:
    explicit RecorderFace(QWidget* parent) : QAbstractButton(parent) {
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        design::followAppearance(this);
        design::setAccessibleRole(this, QAccessible::Button);
    }

    void setFace(const HotKeyRecorderModel::Face& face) {
        m_face = face;
        setAccessibleName(face.style == HotKeyRecorderModel::Face::Style::keycaps ? face.keycaps.join(u'+')
                                                                                    : face.text);
        update();
    }

    QSize sizeHint() const override {
        const qreal keycapHeight = design::Keycap::sizeFor(QStringLiteral("A")).height();
        const qreal textHeight = QFontMetricsF(font(HotKeyRecorderModel::Face::Style::prompt)).height();
        return QSize(0, static_cast<int>(std::ceil(std::max(keycapHeight, textHeight))));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area(rect());
        if (m_face.style == HotKeyRecorderModel::Face::Style::keycaps) {
            qreal x = 0;
            for (const QString& key : m_face.keycaps) {
                const QSizeF size = design::Keycap::sizeFor(key);
                design::Keycap::paint(painter, QRectF(QPointF(x, area.center().y() - size.height() / 2), size), key);
                x += size.width() + kKeycapSpacing;
            }
            return;
        }
        const bool prompt = m_face.style == HotKeyRecorderModel::Face::Style::prompt;
        painter.setFont(font(m_face.style));
        painter.setPen(prompt ? design::toQColor(design::Theme::flame()) : design::toQColor(design::Theme::text3()));
        const QString text = painter.fontMetrics().elidedText(m_face.text, Qt::ElideRight, width());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (design::clickOnReturn(this, event))
            return;
        QAbstractButton::keyPressEvent(event);
    }

private:
    static QFont font(HotKeyRecorderModel::Face::Style style) {
        return design::ODFont::body(kTextSize, style == HotKeyRecorderModel::Face::Style::prompt
                                                   ? design::FontWeight::semibold
                                                   : design::FontWeight::medium);
    }

    HotKeyRecorderModel::Face m_face;
};

// Lives only while a field records: it sees every key of the application first.
// Presses go to the field and no further (not even as shortcuts); the modifier
// keys pass on, so the field can show what is held.
class KeyCapture final : public QObject {
public:
    KeyCapture(HotKeyRecorderModel& model, QObject* parent) : QObject(parent), m_model(model) {
        qApp->installEventFilter(this);
    }
    ~KeyCapture() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Accepting the override keeps the key from any shortcut of the app.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (const auto modifier = modifierOfKey(key->key())) {
                // Platforms differ on whether the key's own modifier is in the
                // event yet: set it from the key itself.
                Qt::KeyboardModifiers held = key->modifiers();
                held.setFlag(*modifier, event->type() == QEvent::KeyPress);
                m_model.modifiersChanged(held);
                return false;
            }
            if (event->type() == QEvent::KeyRelease)
                return true;
            return m_model.keyPressed(key->key(), key->modifiers(), key->nativeScanCode());
        }
        default:
            return false;
        }
    }

private:
    HotKeyRecorderModel& m_model;
};

HotKeyRecorder::HotKeyRecorder(HotKeyRecorderModel* model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_face(new RecorderFace(nullptr)),
      m_accessory(new design::ODIconButton(QString(), kAccessoryDiameter, QString())),
      m_message(new design::TextLine(QString(), design::ODFont::body(10.5, design::FontWeight::medium),
                                     design::Theme::primary(), this)) {
    m_model->setParent(this);
    m_accessory->setSymbolStyle(kAccessorySymbolSize, design::FontWeight::bold);

    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(kFieldPadding);
    row->setSpacing(kFieldSpacing);
    row->addWidget(m_face, 1, Qt::AlignVCenter);
    row->addWidget(m_accessory, 0, Qt::AlignVCenter);
    m_field = design::fieldBackground(content, false, false);
    m_field->setFixedWidth(kFieldWidth);

    m_field->setParent(this);
    m_field->setFixedSize(kFieldWidth, m_field->sizeHint().height());
    // The line keeps its room while it is empty, so that a refused key does not
    // push the rows below down.
    QSizePolicy messagePolicy = m_message->sizePolicy();
    messagePolicy.setRetainSizeWhenHidden(true);
    m_message->setSizePolicy(messagePolicy);
    m_message->hide();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(m_face, &QAbstractButton::clicked, m_model, &HotKeyRecorderModel::toggleRecording);
    connect(m_accessory, &QAbstractButton::clicked, m_model, &HotKeyRecorderModel::clickAccessory);
    connect(m_model, &HotKeyRecorderModel::changed, this, &HotKeyRecorder::refresh);
    connect(m_model, &HotKeyRecorderModel::capturingChanged, this, &HotKeyRecorder::setCapturing);
    refresh();
}

HotKeyRecorder::~HotKeyRecorder() {
    // The model cancels a recording as it goes; nothing here may hear of it.
    disconnect(m_model, nullptr, this, nullptr);
}

void HotKeyRecorder::refresh() {
    m_face->setFace(m_model->face());
    m_accessory->setSystemName(m_model->accessorySymbol());
    m_accessory->setAccessibleName(m_model->accessoryHelp());
    m_accessory->setToolTip(design::plainToolTip(m_model->accessoryHelp()));
    m_accessory->setEnabled(m_model->isAccessoryEnabled());
    m_field->setFocused(m_model->isRecording());
    m_field->setError(m_model->problem().has_value());
    const std::optional<QString> message = m_model->message();
    m_message->setText(message.value_or(QString()));
    m_message->setVisible(message.has_value());
}

QSize HotKeyRecorder::sizeHint() const {
    return m_field->size();
}

void HotKeyRecorder::setCapturing(bool capturing) {
    if (capturing && m_capture == nullptr) {
        m_capture = new KeyCapture(*m_model, this);
    } else if (!capturing && m_capture != nullptr) {
        delete m_capture;
        m_capture = nullptr;
    }
}

void HotKeyRecorder::hideEvent(QHideEvent* event) {
    m_model->disappear();
    QWidget::hideEvent(event);
}

}  // namespace settings
