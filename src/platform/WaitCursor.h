#pragma once

// The hourglass over the whole program for the life of the object: shown when
// it is made, taken back when it goes, however the work in between ends. The
// objects nest, so the pointer from before the first one comes back when the
// last one goes. A program without a GUI (the tests of the logic) has no
// pointer, and nothing changes there.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown;
};
