#pragma once

#include <QList>

// The forced-input rules: the keys of a layout must be chosen in the order its
// sequence prescribes. The position reached belongs to the runtime window and
// survives a change of layout, so it lives here rather than with the layout.
class ForcedInputGate {
public:
    // True when key k is the one expected at the position reached; the position
    // then moves on. Any other key sends the user back to the start. A position
    // the sequence does not have (reached in a longer layout shown before) is
    // a wrong choice as well.
    bool Gate(const QList<qint16>& inputSequence, int k);
    // True when all keyCount steps have been made: the bonus is due. The
    // position stays where it is, so the next choice starts over.
    bool Completed(int keyCount) const;
    qint16 SequencePos() const { return m_sequencePos; }

private:
    qint16 m_sequencePos = 0;
};
