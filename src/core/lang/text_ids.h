#pragma once
// Names of the UI text table entries that the code uses by themselves: the
// messages, questions and texts that a routine picks (as opposed to a
// dialog's Set_Lang, which assigns a whole block of captions and hints in
// table order). Each name carries its built-in English text.

namespace mirandel {

// Main window
inline constexpr int Text_No_Configuration = 9;       // "None Configuration Opened "
inline constexpr int Text_Use_Step_1 = 10;            // "Use Step1 to open or create new configuration"
inline constexpr int Text_Opened_Configuration = 11;  // "Opened Configuration of the Converter : "
inline constexpr int Text_Project_Not_Valid = 18;     // "Error! Project not Valid"
inline constexpr int Text_New_Version_Available = 19; // "New Version Available. Click Here for more Details"
inline constexpr int Text_Settings_Not_Saved = 40;    // "Error! The settings could not be saved in the file "

// Configuration image
inline constexpr int Text_Image_Not_Built = 30;   // "Error! The configuration image could not be built from the file "
inline constexpr int Text_Image_Not_Written = 31; // "Error! The configuration image could not be written to the file "
inline constexpr int Text_Image_Too_Large =
    32; // "Error! The configuration image is too large for the device. Bytes n..."
inline constexpr int Text_Image_Bytes_Available = 33; // "Bytes available: "
inline constexpr int Text_Image_Reason = 34;          // "Reason: "

// New configuration: refusals of createProject()
inline constexpr int Text_Project_Not_Creatable = 105; // "Error! Name project is not valid"
inline constexpr int Text_Project_Exists = 106; // "Error! Name project is not valid because directory already exists"
inline constexpr int Text_Project_Name_Empty = 107; // "Error! Name Project is not valid"

// Software options
inline constexpr int Text_Selected_Language = 304;    // "Selected Language : "
inline constexpr int Text_Page = 305;                 // "Page "
inline constexpr int Text_Page_Of = 306;              // " / "
inline constexpr int Text_Update_Available = 314;     // "New Version Available. Click Here for more Details"
inline constexpr int Text_No_Update_Available = 315;  // "No Update Available"
inline constexpr int Text_Change_Language_From = 316; // "Do you want to change the Language from "
inline constexpr int Text_Change_Language_To = 317;   // " to "
inline constexpr int Text_Change_Language_End = 318;  // "?"
inline constexpr int Text_Server_Unreachable = 330;   // "The update server could not be reached: "

// Communication parameters
inline constexpr int Text_Exit_Without_Saving = 441; // "Do you want to exit without saving changes?"
inline constexpr int Text_ParGen_Unreadable =
    442; // "The communication parameters file could not be read. The default va..."
inline constexpr int Text_ParGen_Not_Saved =
    443; // "The communication parameters file could not be saved. The dialog st..."

// Parameters dialog: TLS status lines and file loading
inline constexpr int Text_Tls_Load_File = 470;          // "Load from file…"
inline constexpr int Text_Tls_Load_File_Hint = 471;     // "Load the field from a .pem, .crt, .cer, .der or .key file"
inline constexpr int Text_Tls_Files = 472;              // "Certificates and keys"
inline constexpr int Text_Tls_File_Unusable = 473;      // "The file %1 holds no certificate or key (%2)."
inline constexpr int Text_Tls_Expires = 474;            // "%1 - expires %2"
inline constexpr int Text_Tls_Key = 475;                // "%1 key, %2 bits"
inline constexpr int Text_Tls_Key_Encrypted = 476;      // "%1 key, %2 bits, encrypted"
inline constexpr int Text_Tls_Issuer = 477;             // "Issuer: %1"
inline constexpr int Text_Tls_Not_Pem = 478;            // "Not a PEM block of the right kind"
inline constexpr int Text_Tls_Expired = 479;            // "Expired on %1"
inline constexpr int Text_Tls_Not_Yet_Valid = 480;      // "Not valid before %1"
inline constexpr int Text_Tls_Expires_Soon = 481;       // "Expires soon, on %1"
inline constexpr int Text_Tls_Key_Mismatch = 482;       // "The key does not belong to the server certificate"
inline constexpr int Text_Tls_Wrong_Password = 483;     // "The password does not open the key"
inline constexpr int Text_Tls_Weak_Key = 484;           // "Weak key: %1 %2 bits"
inline constexpr int Text_Tls_Weak_Signature = 485;     // "Weak signature: %1"
inline constexpr int Text_Tls_Not_Issued_By_Root = 486; // "Not issued by the root certificate"
inline constexpr int Text_Tls_Missing = 487;            // "Missing: TLS is on and the field is empty"
inline constexpr int Text_Tls_Validity = 488;           // "Valid from %1 to %2"
inline constexpr int Text_Tls_Fingerprint = 489;        // "SHA-256: %1"

// Known-certificate list (%1 the file, %2 the reason or the number of rows)
inline constexpr int Text_Cert_List_Unreadable =
    822; // "The file %1 cannot be read (%2). The list opens with its default va..."
inline constexpr int Text_Cert_List_Extra_Rows =
    823; // "The file %1 holds %2 more rows than the list can show. They are not..."
inline constexpr int Text_Cert_List_Not_Saved = 824; // "Error writing the file %1: %2"
inline constexpr int Text_Cert_List_Not_Kept = 825;  // "Error keeping the unreadable file %1: %2. Nothing was saved."
inline constexpr int Text_Cert_Load_File = 850;      // "Load from file…"
inline constexpr int Text_Cert_Load_File_Hint = 851; // "Load the certificate of the selected row from a .pem, ..."
inline constexpr int Text_Cert_Files = 852;          // "Certificates"
inline constexpr int Text_Cert_File_Unusable = 853;  // "The file %1 holds no certificate (%2)."
inline constexpr int Text_Cert_Expires = 854;        // "%1 - expires %2"
inline constexpr int Text_Cert_Not_Pem = 855;        // "Not a PEM certificate"
inline constexpr int Text_Cert_Expired = 856;        // "Expired on %1"
inline constexpr int Text_Cert_Not_Yet_Valid = 857;  // "Not valid before %1"
inline constexpr int Text_Cert_Expires_Soon = 858;   // "Expires soon, on %1"
inline constexpr int Text_Cert_Weak_Key = 859;       // "Weak key: %1 %2 bits"
inline constexpr int Text_Cert_Weak_Signature = 860; // "Weak signature: %1"
inline constexpr int Text_Cert_Duplicate = 861;      // "Same certificate as row %1"
inline constexpr int Text_Cert_Fingerprint = 862;    // "SHA-256: %1"

// Variable table check and file (%1 the file, %2 the reason or the number of rows)
inline constexpr int Text_Error_Row = 929;          // "Error row "
inline constexpr int Text_Position_Range = 930;     // "!! Position must be between 0 and "
inline constexpr int Text_Start_Bit_Missing = 938;  // "!! Start Bit must be Selected "
inline constexpr int Text_Conversion_Missing = 939; // "!! Conversion must be Selected "
inline constexpr int Text_Factor_Not_Float = 940;   // "!! Molt. Factor must be a valid Float"
inline constexpr int Text_Length_Range = 941;       // "!! Length must be between 1 and 4"
inline constexpr int Text_Variables_Unreadable =
    946; // "The file %1 cannot be read (%2). The table opens with its default v..."
inline constexpr int Text_Variables_Extra_Rows =
    947; // "The file %1 holds %2 more rows than the table can show. They are no..."
inline constexpr int Text_Variables_Not_Saved = 948; // "Error writing the file %1: %2"
inline constexpr int Text_Variables_Not_Kept = 949;  // "Error keeping the unreadable file %1: %2. Nothing was saved."

// Variable editor: the data-array map
inline constexpr int Text_Map = 960;           // "Map"
inline constexpr int Text_Map_Hint = 961;      // "Show where each variable sits in the Internal Data Array"
inline constexpr int Text_Map_Title = 962;     // "Internal Data Array"
inline constexpr int Text_Map_In_Use = 963;    // "%1 of %2 bytes in use"
inline constexpr int Text_Map_Overlap = 964;   // "Overlap: rows %1 and %2, byte %3"
inline constexpr int Text_Map_Free = 965;      // "Byte %1: free"
inline constexpr int Text_Map_Past_End = 966;  // "Past the end of the array: row %1"
inline constexpr int Text_Map_Same_Name = 967; // "Same name: rows %1 and %2"
inline constexpr int Text_Map_Byte_Row = 968;  // "Byte %1: row %2 %3"
inline constexpr int Text_Map_Bit = 969;       // "bit %1"
inline constexpr int Text_Map_Close = 970;     // "Close"

// Update dialog
inline constexpr int Text_Device_Not_Found = 1036; // "Device Not Found!"
inline constexpr int Text_Check_Ip_Address = 1037; // "Error!!! Check the Ip Address"
inline constexpr int Text_Status_Pinging = 1040;   // "Checking that the device answers..."
inline constexpr int Text_Status_Waiting = 1041;   // "Waiting for the update program to end..."
inline constexpr int Text_Status_No_Longer_Waiting =
    1042; // "The update program is still running; the configurator no longer wai..."
inline constexpr int Text_Echo_Not_Allowed =
    1043; // "The device cannot be checked: the system does not allow this progra..."
inline constexpr int Text_Updater_Not_Found = 1044;      // "The update program was not found: "
inline constexpr int Text_Updater_Not_Started = 1045;    // "The update program could not be started: "
inline constexpr int Text_Descriptor_Not_Written = 1046; // "The update file could not be written: "

// Row commands of the table editors
inline constexpr int Text_Row_In_Use = 1100; // "Row Already used. Do you want to overwrite the values?"
inline constexpr int Text_Bad_Copy = 1101;   // "Error in the Copy values!!! Copy a valid row before Paste it"
inline constexpr int Text_No_Copy = 1102;    // "Error!!! Copy a valid row before Paste it"

} // namespace mirandel
