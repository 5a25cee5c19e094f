#include "sealing.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup::sealing {
namespace {

const QByteArray kMagic = QByteArrayLiteral("FKSEALED1\n");
const QByteArray kPublicTag = QByteArrayLiteral("facekeeper-backup public key ");
const QByteArray kSecretTag = QByteArrayLiteral("facekeeper-backup secret key ");
constexpr int kStreamKeyBytes = crypto_secretstream_xchacha20poly1305_KEYBYTES;
constexpr int kSealedKeyBytes = crypto_box_SEALBYTES + kStreamKeyBytes;
constexpr int kHeaderBytes = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr int kTagBytes = crypto_secretstream_xchacha20poly1305_ABYTES;

// A key file is one line: its tag and the key in hex.
QByteArray keyLine(const QByteArray& tag, const QByteArray& key) {
    return tag + key.toHex() + '\n';
}

bool readKeyLine(const QString& path, const QByteArray& tag, int size, QByteArray* key,
                 QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray line = file.read(4096).trimmed();
    const QByteArray hex = line.mid(tag.size());
    *key = QByteArray::fromHex(hex);
    if (!line.startsWith(tag) || key->size() != size || hex.size() != 2 * size) {
        *error = QString("%1 is not a %2").arg(path, QString::fromLatin1(tag.trimmed()));
        return false;
    }
    return true;
}

// Creates path with mode 0600; never replaces a file.
bool writePrivate(const QString& path, const QByteArray& bytes, QString* error) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = QString("cannot create %1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    const bool ok = ::write(fd, bytes.constData(), bytes.size()) == bytes.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok) {
        *error = QString("cannot write %1").arg(path);
        QFile::remove(path);
    }
    return ok;
}

// Streams in to out through the secretstream; the header part (magic, sealed key, stream
// header) is written or read by the callers.
bool pushChunks(QIODevice& in, QIODevice& out, crypto_secretstream_xchacha20poly1305_state& state) {
    QByteArray plain(int(kChunkBytes), Qt::Uninitialized);
    QByteArray cipher(int(kChunkBytes) + kTagBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(plain.data(), kChunkBytes);
        if (got < 0) return false;
        const bool last = in.atEnd();
        unsigned long long length = 0;
        crypto_secretstream_xchacha20poly1305_push(
            &state, reinterpret_cast<unsigned char*>(cipher.data()), &length,
            reinterpret_cast<const unsigned char*>(plain.constData()), quint64(got), nullptr, 0,
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0);
        if (out.write(cipher.constData(), qint64(length)) != qint64(length)) return false;
        if (last) return true;
    }
}

bool pullChunks(QIODevice& in, QIODevice& out, crypto_secretstream_xchacha20poly1305_state& state,
                QString* error) {
    QByteArray cipher(int(kChunkBytes) + kTagBytes, Qt::Uninitialized);
    QByteArray plain(int(kChunkBytes), Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(cipher.data(), cipher.size());
        if (got < kTagBytes) {
            *error = "the sealed file is cut short";
            return false;
        }
        unsigned long long length = 0;
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(
                &state, reinterpret_cast<unsigned char*>(plain.data()), &length, &tag,
                reinterpret_cast<const unsigned char*>(cipher.constData()), quint64(got), nullptr,
                0) != 0) {
            *error = "the sealed file was altered";
            return false;
        }
        if (out.write(plain.constData(), qint64(length)) != qint64(length)) {
            *error = "cannot write the opened file";
            return false;
        }
        if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
            if (!in.atEnd()) *error = "bytes follow the end of the sealed file";
            return in.atEnd();
        }
        if (in.atEnd()) {
            *error = "the sealed file is cut short";
            return false;
        }
    }
}

bool sealDevice(QIODevice& in, QIODevice& out, const PublicKey& key) {
    unsigned char streamKey[kStreamKeyBytes];
    crypto_secretstream_xchacha20poly1305_keygen(streamKey);
    unsigned char sealedKey[kSealedKeyBytes];
    unsigned char header[kHeaderBytes];
    crypto_secretstream_xchacha20poly1305_state state;
    const bool ok =
        key.bytes.size() == crypto_box_PUBLICKEYBYTES &&
        crypto_box_seal(sealedKey, streamKey, kStreamKeyBytes,
                        reinterpret_cast<const unsigned char*>(key.bytes.constData())) == 0 &&
        crypto_secretstream_xchacha20poly1305_init_push(&state, header, streamKey) == 0 &&
        out.write(kMagic) == kMagic.size() &&
        out.write(reinterpret_cast<const char*>(sealedKey), kSealedKeyBytes) == kSealedKeyBytes &&
        out.write(reinterpret_cast<const char*>(header), kHeaderBytes) == kHeaderBytes &&
        pushChunks(in, out, state);
    sodium_memzero(streamKey, sizeof streamKey);
    sodium_memzero(&state, sizeof state);
    return ok;
}

bool openDevice(QIODevice& in, QIODevice& out, const KeyPair& keys, QString* error) {
    const QByteArray start = in.read(kMagic.size() + kSealedKeyBytes + kHeaderBytes);
    if (start.size() != kMagic.size() + kSealedKeyBytes + kHeaderBytes || !start.startsWith(kMagic)) {
        *error = "not a sealed file";
        return false;
    }
    const auto* sealedKey = reinterpret_cast<const unsigned char*>(start.constData()) + kMagic.size();
    unsigned char streamKey[kStreamKeyBytes];
    crypto_secretstream_xchacha20poly1305_state state;
    bool ok = crypto_box_seal_open(
                  streamKey, sealedKey, kSealedKeyBytes,
                  reinterpret_cast<const unsigned char*>(keys.publicKey.constData()),
                  reinterpret_cast<const unsigned char*>(keys.secretKey.constData())) == 0;
    if (!ok) *error = "the key does not open this file";
    ok = ok && crypto_secretstream_xchacha20poly1305_init_pull(
                   &state, sealedKey + kSealedKeyBytes, streamKey) == 0;
    ok = ok && pullChunks(in, out, state, error);
    sodium_memzero(streamKey, sizeof streamKey);
    sodium_memzero(&state, sizeof state);
    return ok;
}

}  // namespace

KeyPair::~KeyPair() {
    if (!secretKey.isEmpty()) sodium_memzero(secretKey.data(), size_t(secretKey.size()));
}

bool initialize() {
    return sodium_init() >= 0;
}

bool generateKeys(const QString& prefix, QString* error) {
    KeyPair keys;
    keys.publicKey.resize(crypto_box_PUBLICKEYBYTES);
    keys.secretKey.resize(crypto_box_SECRETKEYBYTES);
    crypto_box_keypair(reinterpret_cast<unsigned char*>(keys.publicKey.data()),
                       reinterpret_cast<unsigned char*>(keys.secretKey.data()));
    const QString secretPath = prefix + ".key";
    QByteArray secretFile = keyLine(kSecretTag, keys.publicKey + keys.secretKey);
    const bool ok = writePrivate(secretPath, secretFile, error) &&
                    (writePrivate(prefix + ".pub", keyLine(kPublicTag, keys.publicKey), error) ||
                     (QFile::remove(secretPath), false));
    sodium_memzero(secretFile.data(), size_t(secretFile.size()));
    return ok;
}

bool loadPublicKey(const QString& path, PublicKey* key, QString* error) {
    return readKeyLine(path, kPublicTag, crypto_box_PUBLICKEYBYTES, &key->bytes, error);
}

bool loadKeyPair(const QString& path, KeyPair* keys, QString* error) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        *error = QString("cannot read %1").arg(path);
        return false;
    }
    if (info.st_mode & (S_IRWXG | S_IRWXO)) {
        *error = QString("%1 is open to other users (mode %2); allow only its owner: chmod 600 %1")
                     .arg(path)
                     .arg(info.st_mode & 0777, 3, 8, QLatin1Char('0'));
        return false;
    }
    QByteArray both;
    if (!readKeyLine(path, kSecretTag, crypto_box_PUBLICKEYBYTES + crypto_box_SECRETKEYBYTES, &both,
                     error))
        return false;
    keys->publicKey = both.left(crypto_box_PUBLICKEYBYTES);
    keys->secretKey = both.mid(crypto_box_PUBLICKEYBYTES);
    sodium_memzero(both.data(), size_t(both.size()));
    return true;
}

bool isSealed(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(kMagic.size()) == kMagic;
}

bool seal(const QString& in, const QString& out, const PublicKey& key, QString* error) {
    QFile source(in);
    QFile target(out);
    bool ok = source.open(QIODevice::ReadOnly) &&
              target.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
              sealDevice(source, target, key) && target.flush() && ::fsync(target.handle()) == 0;
    target.close();
    if (!ok) {
        *error = QString("cannot seal %1: %2").arg(out, target.errorString());
        QFile::remove(out);
    }
    return ok;
}

bool open(const QString& in, const QString& out, const KeyPair& keys, QString* error) {
    QFile source(in);
    QFile target(out);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QString("cannot open %1").arg(in);
        return false;
    }
    target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const bool ok = openDevice(source, target, keys, error) && target.flush();
    target.close();
    if (!ok) QFile::remove(out);
    return ok;
}

bool sealBytes(const QByteArray& plain, QByteArray* sealed, const PublicKey& key) {
    QBuffer in;
    in.setData(plain);
    sealed->clear();
    QBuffer out(sealed);
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
           sealDevice(in, out, key);
}

bool openBytes(const QByteArray& sealed, QByteArray* plain, const KeyPair& keys, QString* error) {
    QBuffer in;
    in.setData(sealed);
    plain->clear();
    QBuffer out(plain);
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
           openDevice(in, out, keys, error);
}

}  // namespace backup::sealing
