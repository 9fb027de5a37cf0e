#include "editor/LinkChoice.h"

#include "editor/LayoutEditor.h"

#include <QComboBox>
#include <QLineEdit>

#include <utility>

using LinkKind = LayoutEditor::LinkKind;

LinkChoice::LinkChoice(QComboBox& choice, QLineEdit& box, std::function<QString()> pickLayout,
                       QObject* parent)
    : QObject(parent), m_choice(choice), m_box(box), m_pickLayout(std::move(pickLayout)) {
    connect(&choice, &QComboBox::activated, this, &LinkChoice::chosen);
    connect(&box, &QLineEdit::textChanged, this, &LinkChoice::typed);
}

void LinkChoice::show(const QString& link) {
    m_value = link;
    m_box.setText(LayoutEditor::KindOf(link) == LinkKind::Layout ? link : QString());
    m_choice.setCurrentIndex(int(LayoutEditor::KindOf(m_value)));
}

void LinkChoice::set(const QString& link) {
    const bool differs = link != m_value;
    m_value = link;
    m_choice.setCurrentIndex(int(LayoutEditor::KindOf(m_value)));
    if (differs) {
        emit changed(m_value);
    }
}

void LinkChoice::chosen(int index) {
    const auto kind = LinkKind(index);
    if (kind != LinkKind::Layout) {
        set(LayoutEditor::LinkValue(kind));
        m_box.clear();
        return;
    }
    if (m_box.text().isEmpty()) {
        const QString path = m_pickLayout();
        if (!path.isEmpty()) {
            m_box.setText(path);
        }
    }
    set(m_value);
}

void LinkChoice::typed(const QString& text) {
    if (!text.isEmpty()) {
        set(text);
    } else if (LayoutEditor::KindOf(m_value) == LinkKind::Layout) {
        set(QString());
    }
}
