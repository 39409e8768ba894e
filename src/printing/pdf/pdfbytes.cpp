// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfbytes.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace printing {

QByteArray pdfBytes(QPDF &pdf)
{
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setDecodeLevel(qpdf_dl_none);
    writer.write();
    return bytesOf(*writer.getBufferSharedPointer());
}

QByteArray bytesOf(const Buffer &buffer)
{
    return QByteArray(reinterpret_cast<const char *>(buffer.getBuffer()), qsizetype(buffer.getSize()));
}

QByteArray deflated(const QByteArray &data)
{
    // qCompress puts the length in front of a zlib stream; FlateDecode
    // wants the stream alone.
    return qCompress(data, 9).mid(4);
}

} // namespace printing
