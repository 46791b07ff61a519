/* Shared state of the modem-line shim: a file mapped by the shim and by whoever drives it. */
#pragma once

#define PARLOMAT_MODEM_SHIM_ENV "PARLOMAT_MODEM_SHIM"

struct ModemShimState {
    char device[256]; /* the tty path whose modem lines are emulated */
    int unplugged;    /* ioctls on open descriptors fail with EIO; opens fail with ENOENT */
    int inputs;       /* TIOCM_CTS, TIOCM_DSR, TIOCM_CAR, TIOCM_RNG as the driver sets them */
    int outputs;      /* TIOCM_DTR and TIOCM_RTS as the program left them */
    int open_fds;     /* descriptors of the device now open */
    int first_write;  /* the outputs after the first line write since the last open, or -1 */
};
