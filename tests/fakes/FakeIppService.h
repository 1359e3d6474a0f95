#pragma once

#include <QHostAddress>
#include <QMap>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>

// A print service on loopback that answers each IPP request as its script
// says for the request's operation, one request to a connection, and keeps
// the requests it saw as "<operation> <job-id>". The program reaches it
// through CUPS_SERVER=127.0.0.1:<port>.
class FakeIppService {
public:
    // The IPP operations and job states the tests name.
    enum Operation : quint16 {
        CreateJob = 0x0005,
        SendDocument = 0x0006,
        CancelJob = 0x0008,
        GetJobAttributes = 0x0009,
        GetPrinterAttributes = 0x000B,
    };
    enum JobState : int {
        Pending = 3,
        Held = 4,
        Processing = 5,
        Stopped = 6,
        Canceled = 7,
        Aborted = 8,
        Completed = 9
    };

    struct Answer {
        quint16 status = 0; // successful-ok
        QString message;    // status-message, when not empty
        int jobId = 0;      // job-id, when not 0
        int jobState = 0;   // job-state, when not 0
    };

    FakeIppService()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }

    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    // Answers by operation; an operation without one is answered successful-ok.
    QMap<quint16, Answer> script;
    QStringList requests;

private:
    static QString operationName(quint16 operation)
    {
        switch (operation) {
        case CreateJob:
            return QStringLiteral("Create-Job");
        case SendDocument:
            return QStringLiteral("Send-Document");
        case CancelJob:
            return QStringLiteral("Cancel-Job");
        case GetJobAttributes:
            return QStringLiteral("Get-Job-Attributes");
        case GetPrinterAttributes:
            return QStringLiteral("Get-Printer-Attributes");
        }
        return QString::number(operation, 16);
    }

    static QByteArray attribute(quint8 tag, const QByteArray& name, const QByteArray& value)
    {
        QByteArray bytes(1, char(tag));
        bytes += char(name.size() >> 8) + QByteArray(1, char(name.size() & 0xff)) + name;
        bytes += char(value.size() >> 8) + QByteArray(1, char(value.size() & 0xff)) + value;
        return bytes;
    }

    static QByteArray integer(int value)
    {
        QByteArray bytes(4, '\0');
        qToBigEndian<qint32>(value, bytes.data());
        return bytes;
    }

    // The job-id attribute of an IPP request's operation group, or 0.
    static int jobIdOf(const QByteArray& ipp)
    {
        qsizetype at = 8;
        while (at < ipp.size() && ipp[at] != 0x03) {
            const quint8 tag = quint8(ipp[at++]);
            if (tag < 0x10)
                continue;
            if (at + 2 > ipp.size())
                break;
            const int nameLength = qFromBigEndian<quint16>(ipp.constData() + at);
            const QByteArray name = ipp.mid(at + 2, nameLength);
            at += 2 + nameLength;
            if (at + 2 > ipp.size())
                break;
            const int valueLength = qFromBigEndian<quint16>(ipp.constData() + at);
            if (name == "job-id" && valueLength == 4 && at + 6 <= ipp.size())
                return qFromBigEndian<qint32>(ipp.constData() + at + 2);
            at += 2 + valueLength;
        }
        return 0;
    }

    void serve(QTcpSocket* socket)
    {
        auto* received = new QByteArray;
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, received] {
            delete received;
            socket->deleteLater();
        });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            const bool headWasIn = received->contains("\r\n\r\n");
            *received += socket->readAll();
            const qsizetype headEnd = received->indexOf("\r\n\r\n");
            if (headEnd < 0)
                return;
            const QByteArray head = received->left(headEnd).toLower();
            if (!headWasIn && head.contains("expect: 100-continue"))
                socket->write("HTTP/1.1 100 Continue\r\n\r\n");
            const qsizetype lengthAt = head.indexOf("content-length:");
            const qsizetype length =
                lengthAt < 0
                    ? 0
                    : head.mid(lengthAt + 15, head.indexOf('\r', lengthAt) - lengthAt - 15).trimmed().toLongLong();
            const QByteArray body = received->mid(headEnd + 4);
            if (body.size() < length || body.size() < 8)
                return;

            const quint16 operation = qFromBigEndian<quint16>(body.constData() + 2);
            const QByteArray requestId = body.mid(4, 4);
            const int job = jobIdOf(body);
            requests << (job ? QStringLiteral("%1 %2").arg(operationName(operation)).arg(job)
                             : operationName(operation));
            const Answer answer = script.value(operation);

            QByteArray ipp("\x02\x00", 2);
            ipp += char(answer.status >> 8) + QByteArray(1, char(answer.status & 0xff)) + requestId;
            ipp += '\x01';
            ipp += attribute(0x47, "attributes-charset", "utf-8");
            ipp += attribute(0x48, "attributes-natural-language", "en");
            if (!answer.message.isEmpty())
                ipp += attribute(0x41, "status-message", answer.message.toUtf8());
            if (answer.jobId || answer.jobState) {
                ipp += '\x02';
                if (answer.jobId)
                    ipp += attribute(0x21, "job-id", integer(answer.jobId));
                if (answer.jobState) {
                    ipp += attribute(0x23, "job-state", integer(answer.jobState));
                    // A job whose state is told holds the document it was sent.
                    ipp += attribute(0x21, "job-k-octets", integer(1));
                }
            }
            ipp += '\x03';
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: " +
                          QByteArray::number(ipp.size()) + "\r\nConnection: close\r\n\r\n" + ipp);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
};
