#pragma once

// The 31 one-third-octave bands from 20 Hz to 20 kHz, numbered 13 to 43 as in the ISO band
// numbering; row i of the table is band 13 + i.

constexpr int kThirdOctaveBandCount = 31;
constexpr int kFirstThirdOctaveBand = 13;
constexpr int kLastThirdOctaveBand = kFirstThirdOctaveBand + kThirdOctaveBandCount - 1;

// Centre frequency in Hz of row 0..30; -1 for any other row.
float thirdOctaveCentreFrequencyOfRow(int row);
// Centre frequency in Hz of band 13..43; -1 for any other band.
float thirdOctaveCentreFrequency(int band);
// Display label ("1k", "3.15k", ...) of band 13..43; "ERR" for any other band.
const char* thirdOctaveLabel(int band);
// The band whose centre is nearest to frequency; of two equally near bands the lower.
int nearestThirdOctaveBand(float frequency);
