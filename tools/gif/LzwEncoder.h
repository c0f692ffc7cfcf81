#pragma once

#include <QByteArray>

// The variable-length LZW coding of GIF image data.
//
// Codes are packed least significant bit first. The code size starts at one
// more than the minimum code size and grows by one bit when the next free
// code no longer fits, up to 12 bits; when all 4096 codes are taken, a clear
// code resets the table. The stream starts with a clear code and ends with
// the end-of-information code.
class LzwEncoder
{
public:
    // What one encode() did, so that tests can see which coding paths a
    // stream took.
    struct Statistics
    {
        int codes = 0; // codes written, clear and end codes included
        int clearCodes = 0; // clear codes written, the leading one included
        int largestCodeSize = 0; // widest code written, in bits
    };

    // minimumCodeSize is 2 to 8; every index must be below 2^minimumCodeSize.
    explicit LzwEncoder(int minimumCodeSize);

    // The packed codes for the pixel indexes (not yet split into sub-blocks).
    QByteArray encode(const QByteArray &indexes);

    const Statistics &statistics() const { return m_statistics; }

private:
    int m_minimumCodeSize;
    Statistics m_statistics;
};
