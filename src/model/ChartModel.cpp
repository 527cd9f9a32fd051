#include "model/ChartModel.h"

namespace tolvane {

QString ChartModel::dataPath(const QString& fileName) const {
    return appFolder + QStringLiteral("data/") + fileName;
}

} // namespace tolvane
