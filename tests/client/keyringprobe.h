#pragma once

#include "secretstore.h"

#include <QEventLoop>

#include <qt5keychain/keychain.h>

// What the keyring says about the client's item, asked around the store:
// NoError when it is there, EntryNotFound when it is not.
inline QKeychain::Error keyringItem()
{
    QKeychain::ReadPasswordJob job(SecretStore::ServiceName);
    job.setAutoDelete(false);
    job.setKey(SecretStore::ItemName);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error();
}
