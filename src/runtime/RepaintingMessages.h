#pragma once

#include "platform/IMessages.h"

#include <functional>

// Passes every message on and then runs a repaint: a message box closing over
// the runtime window uncovers it, and the window is painted afresh (which
// takes away the frame of the last chosen key, as users know it).
class RepaintingMessages : public IMessages {
public:
    RepaintingMessages(IMessages& inner, std::function<void()> repaint)
        : m_inner(inner), m_repaint(std::move(repaint)) {}

    void showMessage(const QString& text, MsgIcon icon, const QString& title) override {
        m_inner.showMessage(text, icon, title);
        m_repaint();
    }
    bool askYesNo(const QString& text, const QString& title) override {
        const bool yes = m_inner.askYesNo(text, title);
        m_repaint();
        return yes;
    }

private:
    IMessages& m_inner;
    std::function<void()> m_repaint;
};
