#pragma once

#include <QString>

// The full path of a new recording of key `key` in `folder`: a name made
// from the key's text ("Mela rossa" gives mela_rossa.wav, "tasto7.wav" when
// the text has no letters or digits), with _2, _3, ... added until it names
// no existing file, letter case not counting.
QString RecordingFileName(const QString& folder, const QString& keyText, int key);
