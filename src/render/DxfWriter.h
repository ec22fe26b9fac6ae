#pragma once

// DXF export: the main loop, the spurs and the drops as 3D LINE
// entities on ELBOW_LAYER, SPUR_LAYER and DROP_LAYER, in whole millimetres,
// north at +Y (X = EW, Y = RoomNS - NS, Z = 0; drops run down to -PipeLen).
//
// The bytes are fixed, byte for byte: the 999 comment
// "PIPELOOP " + ProgramVersion(), the header section ($INSUNITS 4, $EXTMIN,
// $EXTMAX), the VPORT table directly after it with no TABLES section around
// it, the entities, EOF; every line ends with CR LF and every integer is
// written without blanks, leading zeros or a "+". ezdxf reads the table
// outside a TABLES section with a warning; LibreCAD 2.2 and LibreOffice Draw
// 7.4 open the file as it is (see README).

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

class QIODevice;

namespace pipeloop
{

class TPipeLoop;

// How a file is replaced.
enum class DxfFileMode {
    // the rules: the file is created (truncating an existing one) before
    // anything is written and written in place; after a failure the partly
    // written file is left on disk (it never ends with "0 EOF", so no reader
    // takes it for complete).
    InPlace,
    // The groups are written, each verified, into memory, and the file takes
    // all of them or none (SaveAtomically): an existing file is unchanged by a
    // failure and no partial file appears. pipeloop-cli's contract, and the
    // desktop's "Save DXF file" (a half-written drawing helps no one).
    Atomic,
};

struct DxfOptions {
    DxfFileMode fileMode = DxfFileMode::InPlace;
};

// The whole drawing.
QByteArray DxfBytes(const TPipeLoop& design);

// Writes the drawing to an open device group by group, verifying every write.
// Throws DxfWriteError when a write fails (nothing after it is written).
void WriteDxf(QIODevice& device, const TPipeLoop& design);

// writer with a file name: creates the file, writes, closes. Any
// failure while creating or writing closes the file if it had been opened and
// shows the common error report through Ui; returns false then.
bool SaveDxf(const TPipeLoop& design, const QString& path, const DxfOptions& options = {});

// The failure SaveDxf reports: the file, the step and the system's words.
class DxfWriteError : public std::exception
{
public:
    explicit DxfWriteError(QString message)
        : m_message(std::move(message)), m_bytes(m_message.toLocal8Bit())
    {
    }
    const char* what() const noexcept override { return m_bytes.constData(); }
    const QString& message() const { return m_message; }

private:
    QString m_message;
    QByteArray m_bytes;
};

} // namespace pipeloop
