// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class Buffer;
class QPDF;

namespace printing {

// A document qpdf holds, written out in memory. The engine's streams are
// copied as they are, never decoded and encoded again, so every change to a
// job's PDF is written the same way.
QByteArray pdfBytes(QPDF &pdf);

// The bytes qpdf hands back in one of its buffers.
QByteArray bytesOf(const Buffer &buffer);

// `data` encoded for a stream with /Filter /FlateDecode.
QByteArray deflated(const QByteArray &data);

} // namespace printing
