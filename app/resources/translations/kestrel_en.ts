<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BatchDialog</name>
    <message>
        <location filename="../../batch/dialogs/batchdialog.cpp" line="+67"/>
        <source>removed from the device list</source>
        <translation>removed from the device list</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>changed in the device list</source>
        <translation>changed in the device list</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>library changed in the device list</source>
        <translation>library changed in the device list</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>left out</source>
        <translation>left out</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No item selected</source>
        <translation>No item selected</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>The job is still running; retry when it has ended.</source>
        <translation>The job is still running; retry when it has ended.</translation>
    </message>
    <message>
        <location line="-54"/>
        <location line="+14"/>
        <location line="+29"/>
        <location line="+10"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>BatchExtractDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchextractdlg.ui" line="+6"/>
        <source>BatchExtract</source>
        <translation>BatchExtract</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Extract</source>
        <translation>Extract</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchextractdlg.cpp" line="+19"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB1</source>
        <translation>DB1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB2</source>
        <translation>DB2</translation>
    </message>
    <message>
        <location line="+70"/>
        <source>Extract in %1 cameras?</source>
        <translation>Extract in %1 cameras?</translation>
    </message>
</context>
<context>
    <name>BatchImportDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchimportdlg.ui" line="+6"/>
        <source>BatchImport</source>
        <translation>BatchImport</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <location filename="../../batch/batchpackage.cpp" line="+60"/>
        <source>zip file is invalid.</source>
        <translation>zip file is invalid.</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchimportdlg.cpp" line="+17"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB1</source>
        <translation>DB1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB2</source>
        <translation>DB2</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Import into %1 cameras?</source>
        <translation>Import into %1 cameras?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open face DB data file</source>
        <translation>Open face DB data file</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Zip (*.zip)</source>
        <translation>Zip (*.zip)</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>BatchJob</name>
    <message>
        <location filename="../../batch/batchjob.cpp" line="+68"/>
        <source>Waiting</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Cancelled</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Batch Import Finished.</source>
        <translation>Batch Import Finished.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Devices Number</source>
        <translation>Devices Number</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+3"/>
        <source>Success Number</source>
        <translation>Success Number</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Batch Extract Finished.</source>
        <translation>Batch Extract Finished.</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+6"/>
        <source>faceDB number</source>
        <translation>faceDB number</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Batch Upload Finished.</source>
        <translation>Batch Upload Finished.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>image number</source>
        <translation>image number</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>uploading number</source>
        <translation>uploading number</translation>
    </message>
</context>
<context>
    <name>BatchSyncDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchsyncdlg.ui" line="+6"/>
        <source>Sync Batch</source>
        <translation>Sync Batch</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Package file</source>
        <translation>Package file</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>A package exported from a library</source>
        <translation>A package exported from a library</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Library of a camera</source>
        <translation>Library of a camera</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Library name on the targets</source>
        <translation>Library name on the targets</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The source&apos;s name</source>
        <translation>The source&apos;s name</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Remove what the source does not hold</source>
        <translation>Remove what the source does not hold</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Extract features afterwards</source>
        <translation>Extract features afterwards</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchsyncdlg.cpp" line="+140"/>
        <source>Open face DB data file</source>
        <translation>Open face DB data file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zip (*.zip)</source>
        <translation>Zip (*.zip)</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Stopping...</source>
        <translation>Stopping...</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>No item selected</source>
        <translation>No item selected</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The library name must be 1 to 16 characters.</source>
        <translation>The library name must be 1 to 16 characters.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose the package to sync from.</source>
        <translation>Choose the package to sync from.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose the library to sync from.</source>
        <translation>Choose the library to sync from.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Reading the source...</source>
        <translation>Reading the source...</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The camera is no longer in the device list.</source>
        <translation>The camera is no longer in the device list.</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>The source cannot be read</source>
        <translation>The source cannot be read</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>removed from the device list</source>
        <translation>removed from the device list</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>(new library)</source>
        <translation>(new library)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>(without uid, left alone: %1)</source>
        <translation>(without uid, left alone: %1)</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Total %1 (cameras: %2)</source>
        <translation>Total %1 (cameras: %2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>cannot be synced: %1</source>
        <translation>cannot be synced: %1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Planned: nothing has been sent yet</source>
        <translation>Planned: nothing has been sent yet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Every camera holds the source already</source>
        <translation>Every camera holds the source already</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+29"/>
        <location line="+8"/>
        <location line="+13"/>
        <location line="+33"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="-83"/>
        <source>Sync %1 cameras?</source>
        <translation>Sync %1 cameras?</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Applying</source>
        <translation>Applying</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Planning</source>
        <translation>Planning</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Sync finished.</source>
        <translation>Sync finished.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stored: %1, Failed: %2, Skipped: %3</source>
        <translation>Stored: %1, Failed: %2, Skipped: %3</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>The job is still running; retry when it has ended.</source>
        <translation>The job is still running; retry when it has ended.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>None of these cameras is in the device list any more.</source>
        <translation>None of these cameras is in the device list any more.</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The source %1 is no longer there.</source>
        <translation>The source %1 is no longer there.</translation>
    </message>
</context>
<context>
    <name>BatchUploadDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchuploaddlg.ui" line="+6"/>
        <source>BatchUpload</source>
        <translation>BatchUpload</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchuploaddlg.cpp" line="+22"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB</source>
        <translation>DB</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Upload into %1 cameras?</source>
        <translation>Upload into %1 cameras?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open Image Dir</source>
        <translation>Open Image Dir</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The directory has no valid image, please retry</source>
        <translation>The directory has no valid image, please retry</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Valid images number</source>
        <translation>Valid images number</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Continue to upload valid images</source>
        <translation>Continue to upload valid images</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../../main/commandline.cpp" line="+21"/>
        <source>Shows this help and exits.</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Shows the program&apos;s version and exits.</source>
        <translation>Shows the program&apos;s version and exits.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Manages the face libraries held on face-recognition cameras.</source>
        <translation>Manages the face libraries held on face-recognition cameras.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unexpected argument &apos;%1&apos;.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Try &apos;%1 --help&apos; for more information.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The device list (kestrel.data) and the logs (log/) are kept in the program&apos;s
folder, or in %1 when that folder cannot be written.</source>
        <translation>The device list (kestrel.data) and the logs (log/) are kept in the program&apos;s
folder, or in %1 when that folder cannot be written.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Exit status:</source>
        <translation>Exit status:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  0    normal end, or help or version shown</source>
        <translation>  0    normal end, or help or version shown</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  2    unknown option or unexpected argument</source>
        <translation>  2    unknown option or unexpected argument</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  255  another instance of the program is already running</source>
        <translation>  255  another instance of the program is already running</translation>
    </message>
</context>
<context>
    <name>ConfigItemDelegate</name>
    <message>
        <location filename="../../ui/facedb/configitemdelegate.cpp" line="+44"/>
        <source>Photo</source>
        <translation>Photo</translation>
    </message>
</context>
<context>
    <name>ConfigPage</name>
    <message>
        <location filename="../../ui/facedb/configpage.ui" line="+25"/>
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>return_btn</source>
        <translation>return_btn</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Config FDB</source>
        <translation>Config FDB</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>libconfig</source>
        <translation>libconfig</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>FDB</source>
        <translation>FDB</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+135"/>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="-129"/>
        <location line="+13"/>
        <location line="+13"/>
        <location line="+10"/>
        <location line="+10"/>
        <location line="+53"/>
        <location line="+10"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="-102"/>
        <location line="+135"/>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="-122"/>
        <location line="+135"/>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="-122"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="+16"/>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <location line="+10"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-1"/>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Search All</source>
        <translation>Search All</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn3</source>
        <translation>btn3</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Clear Images</source>
        <translation>Clear Images</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Extract</source>
        <translation>Extract</translation>
    </message>
    <message>
        <location line="+29"/>
        <location line="+13"/>
        <location line="+13"/>
        <location line="+13"/>
        <location line="+10"/>
        <location line="+10"/>
        <source>btn_icon1</source>
        <translation>btn_icon1</translation>
    </message>
    <message>
        <location line="-26"/>
        <source>MultiAdd</source>
        <translation>MultiAdd</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage.cpp" line="+211"/>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="+79"/>
        <location line="+19"/>
        <location line="+3"/>
        <location line="+19"/>
        <location line="+17"/>
        <location line="+33"/>
        <location line="+5"/>
        <location line="+32"/>
        <location line="+26"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+19"/>
        <location line="+10"/>
        <location line="+16"/>
        <location line="+3"/>
        <location line="+20"/>
        <location line="+3"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+0"/>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-96"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-42"/>
        <source>You must select one db</source>
        <translation>You must select one db</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>The page could not be loaded</source>
        <translation>The page could not be loaded</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Load it again?</source>
        <translation>Load it again?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../ui/facedb/configpage_items.cpp" line="+32"/>
        <location line="+47"/>
        <location line="+23"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+11"/>
        <location line="+58"/>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_items.cpp" line="-70"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+0"/>
        <source>Add failed</source>
        <translation>Add failed</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+95"/>
        <location line="+13"/>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-12"/>
        <location line="+4"/>
        <location line="+138"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-41"/>
        <location line="+3"/>
        <location line="+19"/>
        <location line="+43"/>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <location line="-108"/>
        <source>Add success</source>
        <translation>Add success</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+72"/>
        <location line="+12"/>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-27"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="-84"/>
        <source>One item must be selected</source>
        <translation>One item must be selected</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+23"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-3"/>
        <source>Edit failed</source>
        <translation>Edit failed</translation>
    </message>
    <message>
        <location line="-20"/>
        <location line="+30"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-18"/>
        <location line="+21"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-3"/>
        <source>Success</source>
        <translation>Success</translation>
    </message>
    <message>
        <location line="-30"/>
        <location line="+30"/>
        <source>Edit success</source>
        <translation>Edit success</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The new picture is stored, but the old record could not be deleted</source>
        <translation>The new picture is stored, but the old record could not be deleted</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No item has been selected</source>
        <translation>No item has been selected</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Checked item will be deleted</source>
        <translation>Checked item will be deleted</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Delete image finished</source>
        <translation>Delete image finished</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-160"/>
        <source>Another job is running; retry when it has ended.</source>
        <translation>Another job is running; retry when it has ended.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open the library page of %1 to retry.</source>
        <translation>Open the library page of %1 to retry.</translation>
    </message>
    <message>
        <location line="+17"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-77"/>
        <location line="+23"/>
        <source>There is no db</source>
        <translation>There is no db</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Extract cannot stop if started, are you sure to continue?</source>
        <translation>Extract cannot stop if started, are you sure to continue?</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Extract failed</source>
        <translation>Extract failed</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Retrieve data failed, please try again</source>
        <translation>Retrieve data failed, please try again</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Extract finished</source>
        <translation>Extract finished</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Save File</source>
        <translation>Save File</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>Zip (*.zip)</source>
        <translation>Zip (*.zip)</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+51"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="+1"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-2"/>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Incomplete</source>
        <translation>Incomplete</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Records</source>
        <translation>Records</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Left out</source>
        <translation>Left out</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>listed in the program log</source>
        <translation>listed in the program log</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-4"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-100"/>
        <source>There can be only 2 db</source>
        <translation>There can be only 2 db</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Open face DB data file</source>
        <translation>Open face DB data file</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/jobsummary.cpp" line="+1"/>
        <source>Package file isn&apos;t compatible</source>
        <translation>Package file isn&apos;t compatible</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="+38"/>
        <source>Open Image Dir</source>
        <translation>Open Image Dir</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The directory has no valid image, please retry</source>
        <translation>The directory has no valid image, please retry</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Valid images number</source>
        <translation>Valid images number</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Continue to upload valid images</source>
        <translation>Continue to upload valid images</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+21"/>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>All data in db will be removed</source>
        <translation>All data in db will be removed</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+23"/>
        <source>Delete failed</source>
        <translation>Delete failed</translation>
    </message>
    <message>
        <location line="-20"/>
        <location line="+20"/>
        <source>Delete success</source>
        <translation>Delete success</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>All images that have extracted features in the db will be removed</source>
        <translation>All images that have extracted features in the db will be removed</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Add Success</source>
        <translation>Add Success</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-8"/>
        <source>uploading number</source>
        <translation>uploading number</translation>
    </message>
</context>
<context>
    <name>CredentialsDialog</name>
    <message>
        <location filename="../../ui/device/credentialsdialog.ui" line="+7"/>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Each camera is tried with them; one that refuses keeps its old credentials.</source>
        <translation>Each camera is tried with them; one that refuses keeps its old credentials.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location filename="../../ui/device/credentialsdialog.cpp" line="+11"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>One user name and password for %1 cameras:</source>
        <translation>One user name and password for %1 cameras:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Invalid input</source>
        <translation>Invalid input</translation>
    </message>
</context>
<context>
    <name>CredentialsResultDialog</name>
    <message>
        <location filename="../../ui/device/credentialsresultdialog.ui" line="+7"/>
        <source>New credentials</source>
        <translation>New credentials</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Device Ip</source>
        <translation>Device Ip</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location filename="../../ui/device/credentialsresultdialog.cpp" line="+12"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1 of %2 cameras took the new credentials; the others keep their old ones.</source>
        <translation>%1 of %2 cameras took the new credentials; the others keep their old ones.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Taken</source>
        <translation>Taken</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not tried (cancelled)</source>
        <translation>Not tried (cancelled)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Refused: login failed, %1 tries left</source>
        <translation>Refused: login failed, %1 tries left</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Refused: account locked for %1 s</source>
        <translation>Refused: account locked for %1 s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Refused: %1 (%2)</source>
        <translation>Refused: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>DBConfigViewModel</name>
    <message>
        <location filename="../../ui/facedb/dbconfigviewmodel.cpp" line="+23"/>
        <source>NotExtract</source>
        <translation>NotExtract</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HasExtracted</source>
        <translation>HasExtracted</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HasError</source>
        <translation>HasError</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 1</source>
        <translation>User define 1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 2</source>
        <translation>User define 2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 3</source>
        <translation>User define 3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 4</source>
        <translation>User define 4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 5</source>
        <translation>User define 5</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Feature status</source>
        <translation>Feature status</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show Image</source>
        <translation>Show Image</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>undefined</source>
        <translation>undefined</translation>
    </message>
</context>
<context>
    <name>DbAddDialog</name>
    <message>
        <location filename="../../ui/facedb/dbdialog.cpp" line="+73"/>
        <source>Add</source>
        <translation>Add</translation>
    </message>
</context>
<context>
    <name>DbDialog</name>
    <message>
        <location filename="../../ui/facedb/dbdialog.ui" line="+29"/>
        <source>Db Name</source>
        <translation>Db Name</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Threshold</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/dbdialog.cpp" line="-20"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Db name is invalid</source>
        <translation>Db name is invalid</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Text too long for the camera</source>
        <translation>Text too long for the camera</translation>
    </message>
</context>
<context>
    <name>DbEditDialog</name>
    <message>
        <location line="+13"/>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>DeviceAddDialog</name>
    <message>
        <location filename="../../ui/device/deviceadddialog.ui" line="+8"/>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Gate 3</source>
        <translation>optional, e.g. Gate 3</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Site A</source>
        <translation>optional, e.g. Site A</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../ui/device/deviceadddialog.cpp" line="+12"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>DeviceCsv</name>
    <message>
        <location filename="../../dbutil/devicecsv.cpp" line="+87"/>
        <source>the address &quot;%1&quot; is not four numbers 0 to 255 without leading zeros</source>
        <translation>the address &quot;%1&quot; is not four numbers 0 to 255 without leading zeros</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The file lists %1 cameras; at most %2 are read at once.</source>
        <translation>The file lists %1 cameras; at most %2 are read at once.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>a name or group longer than %1 characters or with control characters</source>
        <translation>a name or group longer than %1 characters or with control characters</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 is in the list already</source>
        <translation>%1 is in the list already</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 repeats line %2</source>
        <translation>%1 repeats line %2</translation>
    </message>
</context>
<context>
    <name>DeviceEditDialog</name>
    <message>
        <location filename="../../ui/device/deviceeditdialog.ui" line="+8"/>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Gate 3</source>
        <translation>optional, e.g. Gate 3</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Site A</source>
        <translation>optional, e.g. Site A</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location filename="../../ui/device/deviceeditdialog.cpp" line="+12"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location line="+23"/>
        <location line="+6"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Invalid input</source>
        <translation>Invalid input</translation>
    </message>
</context>
<context>
    <name>DeviceInfoTableModel</name>
    <message>
        <location filename="../../ui/device/deviceinfotablemodel.cpp" line="+47"/>
        <source>Network Normal</source>
        <translation>Network Normal</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Network Lost</source>
        <translation>Network Lost</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>Not seen since the program started</source>
        <translation>Not seen since the program started</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last seen %1</source>
        <translation>Last seen %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device Ip</source>
        <translation>Device Ip</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>OTA</source>
        <translation>OTA</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DB1</source>
        <translation>DB1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DB2</source>
        <translation>DB2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Network Status</source>
        <translation>Network Status</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>undefined</source>
        <translation>undefined</translation>
    </message>
</context>
<context>
    <name>DeviceInput</name>
    <message>
        <location filename="../../ui/device/deviceinputrules.cpp" line="+48"/>
        <source>A name or group is at most %1 characters, without control characters.</source>
        <translation>A name or group is at most %1 characters, without control characters.</translation>
    </message>
</context>
<context>
    <name>DeviceListExportDialog</name>
    <message>
        <location filename="../../ui/device/devicelistexportdialog.ui" line="+6"/>
        <source>Export Device List</source>
        <translation>Export Device List</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The cameras shown are written to a CSV file: address, user name, name and group.</source>
        <translation>The cameras shown are written to a CSV file: address, user name, name and group.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Include passwords</source>
        <translation>Include passwords</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The passwords are written as plain text: anyone who reads the file can log in to these cameras. Keep it private.</source>
        <translation>The passwords are written as plain text: anyone who reads the file can log in to these cameras. Keep it private.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DeviceListImportDialog</name>
    <message>
        <location filename="../../ui/device/devicelistimportdialog.ui" line="+7"/>
        <source>Import Device List</source>
        <translation>Import Device List</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lines not added</source>
        <translation>Lines not added</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Add Cameras</source>
        <translation>Add Cameras</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../ui/device/devicelistimportdialog.cpp" line="+15"/>
        <source>Line</source>
        <translation>Line</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Device Ip</source>
        <translation>Device Ip</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>%1: lines breaking the rules: %2. Nothing is added; correct the file and import it again.</source>
        <translation>%1: lines breaking the rules: %2. Nothing is added; correct the file and import it again.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: cameras to add: %2.</source>
        <translation>%1: cameras to add: %2.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Listed already or repeated, left out: %1.</source>
        <translation>Listed already or repeated, left out: %1.</translation>
    </message>
</context>
<context>
    <name>DeviceOperation</name>
    <message>
        <location filename="../../ui/device/deviceoperation.ui" line="+16"/>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Config FDB</source>
        <translation>Config FDB</translation>
    </message>
    <message>
        <location filename="../../ui/device/deviceoperation.cpp" line="+8"/>
        <source>btn_word</source>
        <translation>btn_word</translation>
    </message>
</context>
<context>
    <name>DeviceSearchDialog</name>
    <message>
        <location filename="../../ui/device/devicesearchdialog.ui" line="+8"/>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Devices List</source>
        <translation>Devices List</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../ui/device/devicesearchdialog.cpp" line="+14"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location line="+29"/>
        <location line="+6"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>No item selected</source>
        <translation>No item selected</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Invalid username or password</source>
        <translation>Invalid username or password</translation>
    </message>
</context>
<context>
    <name>ExtractFaceDialog</name>
    <message>
        <location filename="../../tools/extractfacedialog.ui" line="+26"/>
        <source>Extract Face</source>
        <translation>Extract Face</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Input Directory</source>
        <translation>Input Directory</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+20"/>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <location line="-17"/>
        <location line="+20"/>
        <location line="+47"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="-60"/>
        <source>Output Directory</source>
        <translation>Output Directory</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location filename="../../tools/extractfacedialog.cpp" line="+45"/>
        <source>Open Image Dir</source>
        <translation>Open Image Dir</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Please select the input directory</source>
        <translation>Please select the input directory</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The input directory does not exist</source>
        <translation>The input directory does not exist</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Please select the output directory</source>
        <translation>Please select the output directory</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The output directory does not exist</source>
        <translation>The output directory does not exist</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The output directory must differ from the input directory</source>
        <translation>The output directory must differ from the input directory</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>no face found</source>
        <translation>no face found</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>too large to upload</source>
        <translation>too large to upload</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>not written</source>
        <translation>not written</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Preprocess finished</source>
        <translation>Preprocess finished</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Success</source>
        <translation>Success</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>and %1 more</source>
        <translation>and %1 more</translation>
    </message>
</context>
<context>
    <name>FleetLimitDialog</name>
    <message>
        <location filename="../../main/fleetlimitdialog.ui" line="+7"/>
        <source>Cameras at once</source>
        <translation>Cameras at once</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>At most this many cameras at once</source>
        <translation>At most this many cameras at once</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Refreshes and batch jobs started from now on keep this bound.</source>
        <translation>Refreshes and batch jobs started from now on keep this bound.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
</context>
<context>
    <name>HealthIntervalDialog</name>
    <message>
        <location filename="../../main/healthintervaldialog.ui" line="+7"/>
        <source>Background check</source>
        <translation>Background check</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Check every camera every this many minutes (0: never)</source>
        <translation>Check every camera every this many minutes (0: never)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The check runs in the background, a few cameras at once, and waits while another job runs.</source>
        <translation>The check runs in the background, a few cameras at once, and waits while another job runs.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location filename="../../main/healthintervaldialog.cpp" line="+10"/>
        <source>Never</source>
        <translation>Never</translation>
    </message>
</context>
<context>
    <name>ImageItem</name>
    <message>
        <location filename="../../ui/facedb/imageitem.ui" line="+47"/>
        <source>lable_pixmap</source>
        <translation>lable_pixmap</translation>
    </message>
</context>
<context>
    <name>IndexPage</name>
    <message>
        <location filename="../../ui/device/indexpage.ui" line="+19"/>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Find</source>
        <translation>Find</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Update All</source>
        <translation>Update All</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Import Batch</source>
        <translation>Import Batch</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Extract Batch</source>
        <translation>Extract Batch</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Upload Batch</source>
        <translation>Upload Batch</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Sync Batch</source>
        <translation>Sync Batch</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Make one library the same on the ticked cameras, sending only the difference</source>
        <translation>Make one library the same on the ticked cameras, sending only the difference</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Filter: address, name, group, firmware, status</source>
        <translation>Filter: address, name, group, firmware, status</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Show the cameras of one group</source>
        <translation>Show the cameras of one group</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cameras that answered their last refresh or background check</source>
        <translation>Cameras that answered their last refresh or background check</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Import List</source>
        <translation>Import List</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add cameras from a CSV file</source>
        <translation>Add cameras from a CSV file</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Export List</source>
        <translation>Export List</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save the cameras shown to a CSV file</source>
        <translation>Save the cameras shown to a CSV file</translation>
    </message>
    <message>
        <location filename="../../ui/device/indexpage.cpp" line="+151"/>
        <source>Network Status</source>
        <translation>Network Status</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Network Normal</source>
        <translation>Network Normal</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>The device list could not be read. It was kept as %1; the list starts empty.</source>
        <translation>The device list could not be read. It was kept as %1; the list starts empty.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The device list could not be saved to %1. Your changes are kept; the program tries again every 10 seconds and when it closes.</source>
        <translation>The device list could not be saved to %1. Your changes are kept; the program tries again every 10 seconds and when it closes.</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+15"/>
        <location line="+25"/>
        <location line="+178"/>
        <location line="+9"/>
        <location line="+12"/>
        <location line="+234"/>
        <location line="+47"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="-505"/>
        <source>The device has been added</source>
        <translation>The device has been added</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No item selected</source>
        <translation>No item selected</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete these devices?</source>
        <translation>Delete these devices?</translation>
    </message>
    <message>
        <location line="+154"/>
        <source>%1 / %2 online</source>
        <translation>%1 / %2 online</translation>
    </message>
    <message>
        <location line="+25"/>
        <location line="+9"/>
        <source>Login failed</source>
        <translation>Login failed</translation>
    </message>
    <message>
        <location line="-9"/>
        <location line="+9"/>
        <location line="+7"/>
        <location line="+1"/>
        <source>
</source>
        <translation>
</translation>
    </message>
    <message>
        <location line="-17"/>
        <source>retry left times</source>
        <translation>retry left times</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+1"/>
        <source>Account lock</source>
        <translation>Account lock</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>lock time end</source>
        <translation>lock time end</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>lock left time</source>
        <translation>lock left time</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <location line="+199"/>
        <source>The camera names could not be saved to %1.</source>
        <translation>The camera names could not be saved to %1.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>All groups</source>
        <translation>All groups</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No group</source>
        <translation>No group</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Import Device List</source>
        <translation>Import Device List</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV files (*.csv);;All files (*)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 cannot be read or is larger than 1 MB.</source>
        <translation>%1 cannot be read or is larger than 1 MB.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Export Device List</source>
        <translation>Export Device List</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The device list could not be written to %1.</source>
        <translation>The device list could not be written to %1.</translation>
    </message>
</context>
<context>
    <name>InteractionWaitingWidget</name>
    <message>
        <location filename="../../ui/widgets/interactionwaitingwidget.ui" line="+26"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
</context>
<context>
    <name>ItemAddDialog</name>
    <message>
        <location filename="../../ui/facedb/itemadddialog.ui" line="+28"/>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 1</source>
        <translation>User define 1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 2</source>
        <translation>User define 2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 3</source>
        <translation>User define 3</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 4</source>
        <translation>User define 4</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 5</source>
        <translation>User define 5</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/itemadddialog.cpp" line="+27"/>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Images (*.jpeg *.jpg)</source>
        <translation>Images (*.jpeg *.jpg)</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+5"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Text too long for the camera</source>
        <translation>Text too long for the camera</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+4"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location line="-18"/>
        <source>Image name is invalid</source>
        <translation>Image name is invalid</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Please select one photograph</source>
        <translation>Please select one photograph</translation>
    </message>
</context>
<context>
    <name>JobReport</name>
    <message>
        <location filename="../../reports/jobreport.cpp" line="+21"/>
        <source>Import Batch</source>
        <translation>Import Batch</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extract Batch</source>
        <translation>Extract Batch</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload Batch</source>
        <translation>Upload Batch</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Folder upload</source>
        <translation>Folder upload</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library import</source>
        <translation>Library import</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library export</source>
        <translation>Library export</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync Batch</source>
        <translation>Sync Batch</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Stored</source>
        <translation>Stored</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Skipped</source>
        <translation>Skipped</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Cancelled</source>
        <translation>Cancelled</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../main/mainwindow.ui" line="+14"/>
        <location line="+81"/>
        <location filename="../../main/mainwindow.cpp" line="+38"/>
        <source>header_title</source>
        <translation>Facekeeper</translation>
    </message>
    <message>
        <location filename="../../dbutil/jobcontrol.cpp" line="+17"/>
        <source>Scan Device</source>
        <translation>Scan Device</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload Image</source>
        <translation>Upload Image</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extract Feature</source>
        <translation>Extract Feature</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload Batch</source>
        <translation>Upload Batch</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Face DB Import</source>
        <translation>Face DB Import</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Face DB Export</source>
        <translation>Face DB Export</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Check Image</source>
        <translation>Check Image</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unpack Package</source>
        <translation>Unpack Package</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Preprocess Image</source>
        <translation>Preprocess Image</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync Batch</source>
        <translation>Sync Batch</translation>
    </message>
    <message>
        <location filename="../../main/exitguard.cpp" line="+17"/>
        <source>The following tasks are being executed</source>
        <translation>The following tasks are being executed</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exit anyhow</source>
        <translation>Exit anyhow</translation>
    </message>
    <message>
        <location line="+5"/>
        <location filename="../../main/mainwindow.cpp" line="+74"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location filename="../../main/mainwindow.cpp" line="-54"/>
        <source>Preprocess image</source>
        <translation>Preprocess image</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Job reports</source>
        <translation>Job reports</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cameras side by side</source>
        <translation>Cameras side by side</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Background check: off...</source>
        <translation>Background check: off...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Check the cameras every %1 minutes...</source>
        <translation>Check the cameras every %1 minutes...</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>At most %1 cameras at once...</source>
        <translation>At most %1 cameras at once...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Takes effect the next time the program starts.</source>
        <translation>Takes effect the next time the program starts.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The settings could not be saved.</source>
        <translation>The settings could not be saved.</translation>
    </message>
</context>
<context>
    <name>Pagination</name>
    <message>
        <location filename="../../ui/widgets/pagination.ui" line="+16"/>
        <source>Total 100 Record</source>
        <translation>Total 100 Record</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Per Page</source>
        <translation>Per Page</translation>
    </message>
    <message>
        <location line="+26"/>
        <location filename="../../ui/widgets/pagination.cpp" line="+36"/>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <location line="+7"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Goto</source>
        <translation>Goto</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <location filename="../../ui/widgets/pagination.cpp" line="-1"/>
        <source>Total</source>
        <translation>Total</translation>
    </message>
</context>
<context>
    <name>PlatButtonWidget</name>
    <message>
        <location filename="../../ui/widgets/platbuttonwidget.ui" line="+26"/>
        <source>btn_icon2</source>
        <translation>btn_icon2</translation>
    </message>
</context>
<context>
    <name>ProgressDelegate</name>
    <message>
        <location filename="../../ui/widgets/progressdelegate.cpp" line="+52"/>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Canceled</source>
        <translation>Canceled</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>finished</source>
        <translation>finished</translation>
    </message>
</context>
<context>
    <name>ProgressModel</name>
    <message>
        <location filename="../../ui/widgets/progressmodel.cpp" line="+4"/>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Note</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../dbutil/errortext.cpp" line="+15"/>
        <source>Success</source>
        <translation>Success</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Bad parameter</source>
        <translation>Bad parameter</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Invalid message</source>
        <translation>Invalid message</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not login</source>
        <translation>Not login</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login error</source>
        <translation>Login error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FaceDB locked</source>
        <translation>FaceDB locked</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>SDK error</source>
        <translation>SDK error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FaceDB error</source>
        <translation>FaceDB error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File error</source>
        <translation>File error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device type error</source>
        <translation>Device type error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image sum error</source>
        <translation>Image sum error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image type error</source>
        <translation>Image type error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image size error</source>
        <translation>Image size error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image pixel size error</source>
        <translation>Image pixel size error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open file failed</source>
        <translation>Open file failed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File md5 get failed</source>
        <translation>File md5 get failed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DMUpgrade failed</source>
        <translation>DMUpgrade failed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Connection timeout</source>
        <translation>Connection timeout</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Network error</source>
        <translation>Network error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input IP address</source>
        <translation>Please input IP address</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input user name</source>
        <translation>Please input user name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input password</source>
        <translation>Please input password</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Package too large</source>
        <translation>Package too large</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not enough disk space</source>
        <translation>Not enough disk space</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cancelled before it started</source>
        <translation>Cancelled before it started</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder &quot;temp&quot; was not made by this program; please move it away.</source>
        <translation>The folder &quot;temp&quot; was not made by this program; please move it away.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>SDK or IPC error code</source>
        <translation>SDK or IPC error code</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login failed</source>
        <translation>Login failed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Account lock</source>
        <translation>Account lock</translation>
    </message>
    <message>
        <location line="-69"/>
        <location filename="../../dbutil/inputcheck.cpp" line="+79"/>
        <location filename="../../tools/vizorworker.cpp" line="+160"/>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <location filename="../../tools/vizorworker.cpp" line="+3"/>
        <source>uninit</source>
        <translation>uninit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>parameter error</source>
        <translation>parameter error</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no image</source>
        <translation>no image</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>bad face rects</source>
        <translation>bad face rects</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>face rect too small</source>
        <translation>face rect too small</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no face rect</source>
        <translation>no face rect</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>not liveness</source>
        <translation>not liveness</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no metric</source>
        <translation>no metric</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no keypoint</source>
        <translation>no keypoint</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>pose error</source>
        <translation>pose error</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no model</source>
        <translation>no model</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>bad quality</source>
        <translation>bad quality</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>config error</source>
        <translation>config error</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>string length too short</source>
        <translation>string length too short</translation>
    </message>
    <message>
        <location filename="../../dbutil/inputcheck.cpp" line="-10"/>
        <source>Username is 4-16 in length</source>
        <translation>Username is 4-16 in length</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>contains Chinese and English characters, numbers, and underscores.</source>
        <translation>contains Chinese and English characters, numbers, and underscores.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Password is 6-16 in length</source>
        <translation>Password is 6-16 in length</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>contains upper case or lower case characters, numbers or underscores.</source>
        <translation>contains upper case or lower case characters, numbers or underscores.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Invalid input</source>
        <translation>Invalid input</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Invalid IP</source>
        <translation>Invalid IP</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Invalid username</source>
        <translation>Invalid username</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Invalid password</source>
        <translation>Invalid password</translation>
    </message>
    <message>
        <location filename="../../main/startup.cpp" line="+125"/>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Another process is running</source>
        <translation>Another process is running</translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <location filename="../../ui/reports/reportdialog.ui" line="+9"/>
        <source>Job report</source>
        <translation>Job report</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Show</source>
        <translation>Show</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Retry failed</source>
        <translation>Retry failed</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../../ui/reports/reportbox.cpp" line="+14"/>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <location filename="../../ui/reports/reportdialog.cpp" line="+56"/>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Stored: %1, Failed: %2, Skipped: %3</source>
        <translation>Stored: %1, Failed: %2, Skipped: %3</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Save report</source>
        <translation>Save report</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Report not saved</source>
        <translation>Report not saved</translation>
    </message>
</context>
<context>
    <name>ReportListDialog</name>
    <message>
        <location filename="../../ui/reports/reportlistdialog.ui" line="+9"/>
        <source>Job reports</source>
        <translation>Job reports</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../../ui/reports/reportlistdialog.cpp" line="+15"/>
        <source>Job</source>
        <translation>Job</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Finished</source>
        <translation>Finished</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Stored</source>
        <translation>Stored</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Skipped</source>
        <translation>Skipped</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Reading the reports...</source>
        <translation>Reading the reports...</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>No job reports yet</source>
        <translation>No job reports yet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The last %1 jobs</source>
        <translation>The last %1 jobs</translation>
    </message>
</context>
<context>
    <name>ReportModel</name>
    <message>
        <location filename="../../ui/reports/reportmodel.cpp" line="+66"/>
        <source>Camera</source>
        <translation>Camera</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Library</source>
        <translation>Library</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reason</source>
        <translation>Reason</translation>
    </message>
</context>
<context>
    <name>SimpleImageDialog</name>
    <message>
        <location filename="../../ui/facedb/simpleimagedialog.ui" line="+14"/>
        <source>Display</source>
        <translation>Display</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/simpleimagedialog.cpp" line="+30"/>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Get device info failed</source>
        <translation>Get device info failed</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+12"/>
        <source>The image doesn&apos;t exist</source>
        <translation>The image doesn&apos;t exist</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Get image data failed</source>
        <translation>Get image data failed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Load jpg image failed</source>
        <translation>Load jpg image failed</translation>
    </message>
</context>
<context>
    <name>SyncApply</name>
    <message>
        <location filename="../../sync/applying.cpp" line="+30"/>
        <source>Added</source>
        <translation>Added</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Texts updated</source>
        <translation>Texts updated</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Picture replaced</source>
        <translation>Picture replaced</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Deleted</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <location line="+150"/>
        <source>The new picture is held; the old record could not be deleted: %1</source>
        <translation>The new picture is held; the old record could not be deleted: %1</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>The camera did not take the new texts.</source>
        <translation>The camera did not take the new texts.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The feature extraction did not start.</source>
        <translation>The feature extraction did not start.</translation>
    </message>
</context>
<context>
    <name>SyncPlan</name>
    <message>
        <location filename="../../sync/planning.cpp" line="+153"/>
        <source>The camera already holds %1 libraries, none called %2.</source>
        <translation>The camera already holds %1 libraries, none called %2.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The library could not be read: %1</source>
        <translation>The library could not be read: %1</translation>
    </message>
</context>
<context>
    <name>SyncSource</name>
    <message>
        <location filename="../../sync/source.cpp" line="+39"/>
        <source>A temporary folder could not be made.</source>
        <translation>A temporary folder could not be made.</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>The camera %1 did not answer.</source>
        <translation>The camera %1 did not answer.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The camera %1 has no library called %2.</source>
        <translation>The camera %1 has no library called %2.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The library %1 of %2 could not be read: %3</source>
        <translation>The library %1 of %2 could not be read: %3</translation>
    </message>
</context>
<context>
    <name>SyncTargetModel</name>
    <message>
        <location filename="../../batch/dialogs/synctargetmodel.cpp" line="+102"/>
        <source>Camera</source>
        <translation>Camera</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
</context>
<context>
    <name>UploadImageWidget</name>
    <message>
        <location filename="../../ui/facedb/uploadimagewidget.ui" line="+51"/>
        <source>Upload Image</source>
        <translation>Upload Image</translation>
    </message>
</context>
</TS>
