/* Identifiers of the configuration dialog's resources, shared by the
   resource script and the code. Plain defines only: windres reads this. */
#ifndef PELO2SPI_CONFIGURATION_DIALOG_RESOURCE_H
#define PELO2SPI_CONFIGURATION_DIALOG_RESOURCE_H

#define IDD_CONFIGURATION 1000
#define IDC_LAYER_BOND 1000
#define IDC_SETTINGS_PATH 1001

/* Dialog initialisation data: entries of control id, message, byte length
   and data, ended by a zero control id. Type 240 is the number resource
   editors have always given it. */
#define RT_DIALOG_INIT 240
/* The 16-bit number of the combo box's add-string message, as such data
   stores it. */
#define DIALOG_INIT_CB_ADDSTRING 0x0403

#endif
