#include "runtime/ForcedInputGate.h"

bool ForcedInputGate::Gate(const QList<qint16>& inputSequence, int k) {
    if (m_sequencePos >= 0 && m_sequencePos < inputSequence.size() && inputSequence.at(m_sequencePos) == k) {
        ++m_sequencePos;
        return true;
    }
    m_sequencePos = 0;
    return false;
}

bool ForcedInputGate::Completed(int keyCount) const {
    return m_sequencePos == keyCount;
}
