#pragma once
// The "Channels" page's window: the channels, profile, statistics and dose lists over the
// page's model (channels_page.h), beside a picture of the meter.

#include <QImage>

#include "setup/setup_prop_page.h"

namespace setup {

class ChannelsPage;

class CInfoPropPage : public CSetupPropPage {
public:
    explicit CInfoPropPage(ChannelsPage& model, QWidget* parent = nullptr);
};

// The picture of the meter beside the lists: the QS4160 or the smaller model.
QImage MeterPicture(bool qs4160);

}  // namespace setup
