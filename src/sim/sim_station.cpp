#include "sim/sim_station.h"

#include <utility>

namespace parlomat {

SimStation::SimStation(std::string station_dir, LocalTime clock, std::ostream* out)
    : scheduler(clock),
      trace(scheduler, out != nullptr ? *out : kept_),
      channels(scheduler, trace, station_dir),
      serial(trace, station_dir),
      link(trace),
      dialogs(trace, station_dir),
      launcher(trace),
      view(trace),
      station_dir_(std::move(station_dir)) {}

SimStation::~SimStation() = default;

Station& SimStation::assemble(Options options) {
    if (!station_) {
        MainWindowView& main_view = options.view != nullptr ? *options.view : view;
        station_ = std::make_unique<Station>(
            KeyerPorts{
                .scheduler = scheduler,
                .mci = channels,
                .SP = serial,
                .link = options.link != nullptr ? *options.link : link,
                .dialogs = dialogs,
                .launcher = launcher,
                .view = main_view,
                .preferences_view = options.view != nullptr ? options.preferences_view : &view,
                .station_dir = station_dir_,
                .files = &files,
                .log = options.log},
            std::move(options.hooks));
    }
    return *station_;
}

Station& SimStation::start(Options options) {
    Station& station = assemble(std::move(options));
    station.splash.Show();
    station.splash.ExitForm();
    return station;
}

std::string SimStation::take_log() {
    std::string text = kept_.str();
    kept_.str({});
    return text;
}

}  // namespace parlomat
