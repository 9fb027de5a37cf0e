#include "config/Configuration.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "config/LayoutFile.h"

ConfigurationState CheckConfiguration(const QString& dataFolder) {
    if (!ConfigFile::HasMarker(dataFolder)) {
        return ConfigurationState::Damaged;
    }
    const QString layoutPath = ConfigFile::ActiveLayout(dataFolder);
    if (!FileExists(layoutPath)) {
        return ConfigurationState::NoLayout;
    }
    return LayoutFile::IsLayout(layoutPath) ? ConfigurationState::Ready : ConfigurationState::InvalidLayout;
}
