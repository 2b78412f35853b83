// reaction_joystick_screen: the joystick's move stamps for reaction_fidelity_bench. The real
// JoystickDevice polls SDL's virtual joystick every 1 ms on the Qt event loop, as the program
// does, while a thread of its own moves the stick at random moments, 20 to 60 ms apart, at a
// real-time priority where the machine allows it. For every move reported it prints
//
//   MOVE i stamp handler
//
// the errors in ms of the move's stamp and of the handler's own time, against the moment the
// move was made. Needs no display.
//
//   reaction_joystick_screen [MOVES]

#include "screen_protocol.h"
#include "toolkit/joystick_device.h"

#include <QCoreApplication>
#include <QTimer>
#include <SDL2/SDL.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <pthread.h>
#include <random>
#include <sched.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int moves = quendal::fidelity::roundsArgument(argc, argv, 100);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "reaction_joystick_screen: %s\n", SDL_GetError());
        return 1;
    }
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    SDL_Joystick* stick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    quendal::JoystickDevice device;
    if (stick == nullptr || !device.open(index)) {
        std::fprintf(stderr, "reaction_joystick_screen: no virtual joystick: %s\n", SDL_GetError());
        return 1;
    }

    std::vector<Clock::time_point> made(static_cast<std::size_t>(moves));
    std::atomic<int> madeCount{0};
    std::atomic<int> seenCount{0};
    int reported = 0;
    QObject::connect(&device, &quendal::JoystickDevice::moved, &app, [&](int, int) {
        const Clock::time_point handled = Clock::now();
        // The poll may find the move before the mover has written down when it made it.
        const int i = seenCount.load();
        const Clock::time_point giveUp = handled + std::chrono::milliseconds(100);
        while (madeCount.load() <= i && Clock::now() < giveUp) {
        }
        if (madeCount.load() != i + 1 || !device.moveTime()) {
            return;
        }
        const Clock::time_point at = made[static_cast<std::size_t>(i)];
        std::printf("MOVE %d %.3f %.3f\n", i + 1, milliseconds(*device.moveTime() - at),
                    milliseconds(handled - at));
        seenCount.store(i + 1);
        if (++reported == moves) {
            std::fflush(stdout);
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        }
    });
    device.setPolling(true);

    std::thread mover([&] {
        const sched_param fifo{50};
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &fifo);
        std::mt19937 chance(17);
        std::uniform_int_distribution<int> pause(20'000, 60'000);
        for (int i = 0; i < moves; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(pause(chance)));
            const Clock::time_point before = Clock::now();
            SDL_JoystickSetVirtualAxis(stick, 0, static_cast<Sint16>(i % 2 == 0 ? 20000 : -20000));
            made[static_cast<std::size_t>(i)] = before + (Clock::now() - before) / 2;
            madeCount.store(i + 1);
            const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(5);
            while (seenCount.load() <= i && Clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
    });
    QTimer::singleShot(std::chrono::seconds(60), &app, &QCoreApplication::quit);
    const int result = QCoreApplication::exec();
    mover.join();
    device.close();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    return result == 0 && reported == moves ? 0 : 1;
}
