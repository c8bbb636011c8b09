/* libecfhost: the Linux host kit, the platform calls the driver makes
   (serial port, log, clock, allocation, texts, 8-byte decimals, the host's
   common library). A host that has its own platform library does not link
   this one. Declared here: the settings a host may set.

   Settings read from the environment:
     ECF_SERIAL_DEVICE  serial device (a pseudo-terminal, /dev/ttyUSB0, ...),
                        read each time the port opens; default /dev/ttyS<port-1>
     ECF_SERIAL_PORT    ECFIF_porta_serial at load time (1 to 256; default 1)
     ECF_SERIAL_SPEED   ECFIF_veloc_serial at load time (default 115200)
     ECF_LOG_FILE       log file (default standard error)
     ECF_LOG_MODE       ECFLOG_modo at load time, decimal or 0x hex (default 0)
     ECF_LOCK_DIR       folder of the port lock files "LCK..<device>", read each
                        time the port opens; default /run/lock, else /var/lock
   Changing the port or speed takes effect the next time the port opens
   (after ECFIF_fim_protocolo). */
#ifndef ECFHOST_H
#define ECFHOST_H
#ifdef __cplusplus
extern "C" {
#endif

extern int ECFIF_porta_serial; /* 1 = first port */
extern int ECFIF_veloc_serial; /* bits per second */
/* Log lines: bit 0 protocol and results, bit 1 interface calls, bit 4 the
   COTEPE file lines. */
extern int ECFLOG_modo;
/* Non-zero: a Reading X begins the day. */
extern int ECFIF_inicio_dia_com_lx;
/* Signs an export file (source, final name); 0 = signed. Null: the file is
   only renamed. */
extern int (*ECFIF_pfunc_assina_paf)(const char *origem, const char *destino);
/* The host configuration record the driver fills (100 bytes), and the
   firmware version it learnt. */
extern unsigned char ECFIF_cfg[100];
extern int ECFIF_versao_firmware;

/* Why the last opening of the serial port failed, with the device name,
   e.g. "/dev/ttyS0: port in use by PID 1234" or "/dev/ttyS0: No such file
   or directory"; an empty text after a successful opening. The text is
   static: copy it before the port is opened again. The port is held for
   this host alone (a lock file and TIOCEXCL) until it is closed or the
   process ends. */
const char *nSERIALmotivo_falha(void);

#ifdef __cplusplus
}
#endif
#endif
