#include "os/ShaderCache.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <unistd.h>

namespace {

QByteArray &shaderCacheFolder()
{
    static QByteArray folder;
    return folder;
}

} // namespace

void useTemporaryShaderCache()
{
    QByteArray &folder = shaderCacheFolder();
    if (!folder.isEmpty())
        return;
    QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/tavlin-shaders-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        qputenv("MESA_SHADER_CACHE_DISABLE", "true");
        return;
    }
    folder = pattern;
    qputenv("MESA_SHADER_CACHE_DIR", folder);
    std::atexit(removeTemporaryShaderCache); // EndProgram removes it itself
}

void removeTemporaryShaderCache()
{
    QByteArray &folder = shaderCacheFolder();
    if (folder.isEmpty())
        return;
    QDir(QFile::decodeName(folder)).removeRecursively();
    folder.clear();
}
