// Encryption at rest with libsodium. A sealed file is
//   "FKSEALED1\n" | crypto_box_seal(stream key) | secretstream header | chunks
// where each chunk is up to kChunkBytes of the file under XChaCha20-Poly1305 secretstream, the
// last tagged FINAL. The stream key is random per file and sealed to the recipient's public
// key, so a backup host holding only the public key can write but never read.
#pragma once

#include <QByteArray>
#include <QString>

namespace backup::sealing {

constexpr qint64 kChunkBytes = 64 * 1024;

struct PublicKey {
    QByteArray bytes;  // crypto_box_PUBLICKEYBYTES
};
struct KeyPair {
    QByteArray publicKey;
    QByteArray secretKey;  // crypto_box_SECRETKEYBYTES
    ~KeyPair();            // wipes the secret
};

// False when libsodium cannot start.
bool initialize();

// Writes prefix.pub and prefix.key (mode 0600 both), never replacing a file.
bool generateKeys(const QString& prefix, QString* error);
bool loadPublicKey(const QString& path, PublicKey* key, QString* error);
// Refused when the file is readable or writable by group or others.
bool loadKeyPair(const QString& path, KeyPair* keys, QString* error);

// Whether the file starts like a sealed file.
bool isSealed(const QString& path);
// in -> out (created with mode 0600, replacing a file there). out is removed on failure.
bool seal(const QString& in, const QString& out, const PublicKey& key, QString* error);
// Refuses a wrong key, altered bytes and a cut-off file.
bool open(const QString& in, const QString& out, const KeyPair& keys, QString* error);
// The same over bytes in memory (manifests).
bool sealBytes(const QByteArray& plain, QByteArray* sealed, const PublicKey& key);
bool openBytes(const QByteArray& sealed, QByteArray* plain, const KeyPair& keys, QString* error);

}  // namespace backup::sealing
