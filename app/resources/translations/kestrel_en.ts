<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BatchJob</name>
    <message>
        <location filename="../../batch/batchjob.cpp" line="+79"/>
        <source>Batch Import Finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Devices Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+3"/>
        <source>Success Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Batch Extract Finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+6"/>
        <source>faceDB number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Batch Upload Finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>image number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>uploading number</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InteractionWaitingWidget</name>
    <message>
        <location filename="../../ui/widgets/interactionwaitingwidget.ui" line="+25"/>
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
        <location filename="../../ui/widgets/progressdelegate.cpp" line="+51"/>
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
        <location filename="../../dbutil/errortext.cpp" line="+10"/>
        <source>Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Bad parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Invalid message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FaceDB locked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>SDK error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FaceDB error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device type error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image sum error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image type error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image size error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image pixel size error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open file failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>File md5 get failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DMUpgrade failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Connection timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Network error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input IP address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input user name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>SDK or IPC error code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Account lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../../tools/vizorworker.cpp" line="+149"/>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../dbutil/jobcontrol.cpp" line="+16"/>
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
        <location filename="../../tools/vizorworker.cpp" line="+3"/>
        <source>uninit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>parameter error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>bad face rects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>face rect too small</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no face rect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>not liveness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no metric</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no keypoint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>pose error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>bad quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>config error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>string length too short</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
