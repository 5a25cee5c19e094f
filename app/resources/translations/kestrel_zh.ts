<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BatchDialog</name>
    <message>
        <location filename="../../batch/dialogs/batchdialog.cpp" line="+67"/>
        <source>removed from the device list</source>
        <translation>已从设备列表中删除</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>changed in the device list</source>
        <translation>在设备列表中已更改</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>library changed in the device list</source>
        <translation>人脸库在设备列表中已更改</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>left out</source>
        <translation>已跳过</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No item selected</source>
        <translation>未选择任何项</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>The job is still running; retry when it has ended.</source>
        <translation>任务仍在运行；请在其结束后重试。</translation>
    </message>
    <message>
        <location line="-54"/>
        <location line="+14"/>
        <location line="+29"/>
        <location line="+10"/>
        <source>Information</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>BatchExtractDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchextractdlg.ui" line="+6"/>
        <source>BatchExtract</source>
        <translation>批量提取特征</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Extract</source>
        <translation>提取特征</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchextractdlg.cpp" line="+19"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB1</source>
        <translation>人脸库1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB2</source>
        <translation>人脸库2</translation>
    </message>
    <message>
        <location line="+70"/>
        <source>Extract in %1 cameras?</source>
        <translation>在 %1 台设备上提取特征？</translation>
    </message>
</context>
<context>
    <name>BatchImportDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchimportdlg.ui" line="+6"/>
        <source>BatchImport</source>
        <translation>批量导入</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <location filename="../../batch/batchpackage.cpp" line="+60"/>
        <source>zip file is invalid.</source>
        <translation>数据包文件无效。</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchimportdlg.cpp" line="+17"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB1</source>
        <translation>人脸库1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB2</source>
        <translation>人脸库2</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Import into %1 cameras?</source>
        <translation>导入到 %1 台设备？</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open face DB data file</source>
        <translation>打开人脸库数据包</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Zip (*.zip)</source>
        <translation>数据包 (*.zip)</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>BatchJob</name>
    <message>
        <location filename="../../batch/batchjob.cpp" line="+68"/>
        <source>Waiting</source>
        <translation>等待中</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Batch Import Finished.</source>
        <translation>批量导入完成。</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Devices Number</source>
        <translation>设备数</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+3"/>
        <source>Success Number</source>
        <translation>成功数</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Batch Extract Finished.</source>
        <translation>批量提取特征完成。</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+6"/>
        <source>faceDB number</source>
        <translation>人脸库数</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Batch Upload Finished.</source>
        <translation>批量上传完成。</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>image number</source>
        <translation>图片数</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>uploading number</source>
        <translation>上传数</translation>
    </message>
</context>
<context>
    <name>BatchSyncDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchsyncdlg.ui" line="+6"/>
        <source>Sync Batch</source>
        <translation>批量同步</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Source</source>
        <translation>来源</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Package file</source>
        <translation>数据包文件</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>A package exported from a library</source>
        <translation>从人脸库导出的数据包</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Library of a camera</source>
        <translation>摄像机上的人脸库</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Library name on the targets</source>
        <translation>目标人脸库名称</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The source&apos;s name</source>
        <translation>与来源同名</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Remove what the source does not hold</source>
        <translation>删除来源中没有的记录</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Extract features afterwards</source>
        <translation>完成后提取特征</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchsyncdlg.cpp" line="+140"/>
        <source>Open face DB data file</source>
        <translation>打开人脸库数据包</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zip (*.zip)</source>
        <translation>数据包 (*.zip)</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Stopping...</source>
        <translation>正在停止...</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>No item selected</source>
        <translation>未选择任何项</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The library name must be 1 to 16 characters.</source>
        <translation>人脸库名称须为 1 到 16 个字符。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose the package to sync from.</source>
        <translation>请选择要同步的数据包。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose the library to sync from.</source>
        <translation>请选择要同步的人脸库。</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Reading the source...</source>
        <translation>正在读取来源...</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The camera is no longer in the device list.</source>
        <translation>该摄像机已不在设备列表中。</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>The source cannot be read</source>
        <translation>无法读取来源</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>removed from the device list</source>
        <translation>已从设备列表中删除</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>(new library)</source>
        <translation>（新建人脸库）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>(without uid, left alone: %1)</source>
        <translation>（无 uid 的记录保持不变：%1）</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Total %1 (cameras: %2)</source>
        <translation>合计 %1（摄像机：%2）</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>cannot be synced: %1</source>
        <translation>无法同步：%1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Planned: nothing has been sent yet</source>
        <translation>计划完成：尚未发送任何内容</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Every camera holds the source already</source>
        <translation>所有摄像机均已与来源一致</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+29"/>
        <location line="+8"/>
        <location line="+13"/>
        <location line="+33"/>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <location line="-83"/>
        <source>Sync %1 cameras?</source>
        <translation>同步 %1 台摄像机？</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Applying</source>
        <translation>正在应用</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Planning</source>
        <translation>正在计划</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Sync finished.</source>
        <translation>同步完成。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stored: %1, Failed: %2, Skipped: %3</source>
        <translation>已存储：%1，失败：%2，已跳过：%3</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>The job is still running; retry when it has ended.</source>
        <translation>任务仍在运行；请在其结束后重试。</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>None of these cameras is in the device list any more.</source>
        <translation>这些摄像机均已不在设备列表中。</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>The source %1 is no longer there.</source>
        <translation>来源 %1 已不存在。</translation>
    </message>
</context>
<context>
    <name>BatchUploadDlg</name>
    <message>
        <location filename="../../batch/dialogs/batchuploaddlg.ui" line="+6"/>
        <source>BatchUpload</source>
        <translation>批量上传</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Upload</source>
        <translation>上传</translation>
    </message>
    <message>
        <location filename="../../batch/dialogs/batchuploaddlg.cpp" line="+22"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DB</source>
        <translation>人脸库</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Upload into %1 cameras?</source>
        <translation>上传到 %1 台设备？</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open Image Dir</source>
        <translation>选择图片目录</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The directory has no valid image, please retry</source>
        <translation>该目录中没有有效图片，请重新选择</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Valid images number</source>
        <translation>有效图片数</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Continue to upload valid images</source>
        <translation>是否继续上传有效图片</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../../main/commandline.cpp" line="+21"/>
        <source>Shows this help and exits.</source>
        <translation>显示本帮助并退出。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Shows the program&apos;s version and exits.</source>
        <translation>显示程序版本并退出。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Manages the face libraries held on face-recognition cameras.</source>
        <translation>管理人脸识别设备中的人脸库。</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>不支持的参数“%1”。</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>运行“%1 --help”查看更多信息。</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The device list (kestrel.data) and the logs (log/) are kept in the program&apos;s
folder, or in %1 when that folder cannot be written.</source>
        <translation>设备列表（kestrel.data）和日志（log/）保存在程序所在目录；
该目录不可写时，保存在 %1。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Exit status:</source>
        <translation>退出码：</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  0    normal end, or help or version shown</source>
        <translation>  0    正常结束，或已显示帮助或版本</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  2    unknown option or unexpected argument</source>
        <translation>  2    未知选项或不支持的参数</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  255  another instance of the program is already running</source>
        <translation>  255  程序已有另一个实例在运行</translation>
    </message>
</context>
<context>
    <name>ConfigItemDelegate</name>
    <message>
        <location filename="../../ui/facedb/configitemdelegate.cpp" line="+44"/>
        <source>Photo</source>
        <translation>查看</translation>
    </message>
</context>
<context>
    <name>ConfigPage</name>
    <message>
        <location filename="../../ui/facedb/configpage.ui" line="+25"/>
        <source>Return</source>
        <translation>返回</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>return_btn</source>
        <translation>return_btn</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Config FDB</source>
        <translation>人脸库配置</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>libconfig</source>
        <translation>libconfig</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>FDB</source>
        <translation>人脸库</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+135"/>
        <source>Add</source>
        <translation>添加</translation>
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
        <translation>编辑</translation>
    </message>
    <message>
        <location line="-122"/>
        <location line="+135"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <location line="-122"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="+16"/>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <location line="+10"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-1"/>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Search All</source>
        <translation>按姓名查询</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Search</source>
        <translation>查询</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn3</source>
        <translation>btn3</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Clear Images</source>
        <translation>清空图片</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Extract</source>
        <translation>提取特征</translation>
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
        <translation>批量添加</translation>
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
        <translation>提示</translation>
    </message>
    <message>
        <location line="+0"/>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-96"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-42"/>
        <source>You must select one db</source>
        <translation>请先选择一个人脸库</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>The page could not be loaded</source>
        <translation>页面加载失败</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Load it again?</source>
        <translation>是否重新加载？</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../ui/facedb/configpage_items.cpp" line="+32"/>
        <location line="+47"/>
        <location line="+23"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+11"/>
        <location line="+58"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_items.cpp" line="-70"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+0"/>
        <source>Add failed</source>
        <translation>添加失败</translation>
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
        <translation>提示</translation>
    </message>
    <message>
        <location line="-108"/>
        <source>Add success</source>
        <translation>添加成功</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+72"/>
        <location line="+12"/>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-27"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="-84"/>
        <source>One item must be selected</source>
        <translation>请只选择一条记录</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+23"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-3"/>
        <source>Edit failed</source>
        <translation>修改失败</translation>
    </message>
    <message>
        <location line="-20"/>
        <location line="+30"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-18"/>
        <location line="+21"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-3"/>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <location line="-30"/>
        <location line="+30"/>
        <source>Edit success</source>
        <translation>修改成功</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The new picture is stored, but the old record could not be deleted</source>
        <translation>新图片已保存，但旧记录未能删除</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>No item has been selected</source>
        <translation>未选择任何记录</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Checked item will be deleted</source>
        <translation>所选记录将被删除</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Delete image finished</source>
        <translation>图片删除完成</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-160"/>
        <source>Another job is running; retry when it has ended.</source>
        <translation>另一个任务正在运行；请在其结束后重试。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open the library page of %1 to retry.</source>
        <translation>请打开 %1 的人脸库页面后重试。</translation>
    </message>
    <message>
        <location line="+17"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-77"/>
        <location line="+23"/>
        <source>There is no db</source>
        <translation>当前没有人脸库</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Extract cannot stop if started, are you sure to continue?</source>
        <translation>特征提取开始后无法中止，确定继续吗？</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Extract failed</source>
        <translation>特征提取失败</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Retrieve data failed, please try again</source>
        <translation>获取数据失败，请重试</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Extract finished</source>
        <translation>特征提取完成</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>Zip (*.zip)</source>
        <translation>数据包 (*.zip)</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+51"/>
        <location filename="../../ui/facedb/jobsummary.cpp" line="+1"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-2"/>
        <source>Total</source>
        <translation>总数</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Incomplete</source>
        <translation>不完整</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Records</source>
        <translation>记录</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pictures</source>
        <translation>图片</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Left out</source>
        <translation>未包含</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>listed in the program log</source>
        <translation>详见程序日志</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="-4"/>
        <location filename="../../ui/facedb/configpage_library.cpp" line="-100"/>
        <source>There can be only 2 db</source>
        <translation>每台设备最多只能有 2 个人脸库</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Open face DB data file</source>
        <translation>打开人脸库数据包</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/jobsummary.cpp" line="+1"/>
        <source>Package file isn&apos;t compatible</source>
        <translation>数据包文件不兼容</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_jobs.cpp" line="+38"/>
        <source>Open Image Dir</source>
        <translation>选择图片目录</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The directory has no valid image, please retry</source>
        <translation>该目录中没有有效图片，请重新选择</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Valid images number</source>
        <translation>有效图片数</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Continue to upload valid images</source>
        <translation>是否继续上传有效图片</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/configpage_library.cpp" line="+21"/>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>All data in db will be removed</source>
        <translation>人脸库中的所有数据都将被删除</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+23"/>
        <source>Delete failed</source>
        <translation>删除失败</translation>
    </message>
    <message>
        <location line="-20"/>
        <location line="+20"/>
        <source>Delete success</source>
        <translation>删除成功</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>All images that have extracted features in the db will be removed</source>
        <translation>人脸库中已提取特征的图片都将被删除</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Add Success</source>
        <translation>添加成功</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/jobsummary.cpp" line="-8"/>
        <source>uploading number</source>
        <translation>上传数</translation>
    </message>
</context>
<context>
    <name>CredentialsDialog</name>
    <message>
        <location filename="../../ui/device/credentialsdialog.ui" line="+7"/>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Username</source>
        <translation>用户名</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Each camera is tried with them; one that refuses keeps its old credentials.</source>
        <translation>将逐台用它们登录摄像机；拒绝的摄像机保留原来的用户名和密码。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>确定</translation>
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
        <translation>为 %1 台摄像机设置同一用户名和密码：</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Invalid input</source>
        <translation>输入无效</translation>
    </message>
</context>
<context>
    <name>CredentialsResultDialog</name>
    <message>
        <location filename="../../ui/device/credentialsresultdialog.ui" line="+7"/>
        <source>New credentials</source>
        <translation>新的用户名和密码</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Device Ip</source>
        <translation>设备IP</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../ui/device/credentialsresultdialog.cpp" line="+12"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1 of %2 cameras took the new credentials; the others keep their old ones.</source>
        <translation>%2 台摄像机中有 %1 台接受了新的用户名和密码；其余保留原来的。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Taken</source>
        <translation>已接受</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not tried (cancelled)</source>
        <translation>未尝试（已取消）</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Refused: login failed, %1 tries left</source>
        <translation>被拒绝：登录失败，还可尝试 %1 次</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Refused: account locked for %1 s</source>
        <translation>被拒绝：账户已锁定 %1 秒</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Refused: %1 (%2)</source>
        <translation>被拒绝：%1（%2）</translation>
    </message>
</context>
<context>
    <name>DBConfigViewModel</name>
    <message>
        <location filename="../../ui/facedb/dbconfigviewmodel.cpp" line="+23"/>
        <source>NotExtract</source>
        <translation>未提取</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HasExtracted</source>
        <translation>已提取</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HasError</source>
        <translation>提取失败</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>All</source>
        <translation>全选</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation>姓名</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 1</source>
        <translation>自定义1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 2</source>
        <translation>自定义2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 3</source>
        <translation>自定义3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 4</source>
        <translation>自定义4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>User define 5</source>
        <translation>自定义5</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Feature status</source>
        <translation>特征状态</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show Image</source>
        <translation>图片</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>undefined</source>
        <translation>未定义</translation>
    </message>
</context>
<context>
    <name>DbAddDialog</name>
    <message>
        <location filename="../../ui/facedb/dbdialog.cpp" line="+73"/>
        <source>Add</source>
        <translation>添加人脸库</translation>
    </message>
</context>
<context>
    <name>DbDialog</name>
    <message>
        <location filename="../../ui/facedb/dbdialog.ui" line="+29"/>
        <source>Db Name</source>
        <translation>人脸库名称</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Threshold</source>
        <translation>阈值</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/dbdialog.cpp" line="-20"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Db name is invalid</source>
        <translation>人脸库名称无效</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Text too long for the camera</source>
        <translation>文本超出相机允许的长度</translation>
    </message>
</context>
<context>
    <name>DbEditDialog</name>
    <message>
        <location line="+13"/>
        <source>Edit</source>
        <translation>编辑人脸库</translation>
    </message>
</context>
<context>
    <name>DeviceAddDialog</name>
    <message>
        <location filename="../../ui/device/deviceadddialog.ui" line="+8"/>
        <source>Add</source>
        <translation>添加设备</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Username</source>
        <translation>用户名</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Gate 3</source>
        <translation>可选，例如 3号门</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Site A</source>
        <translation>可选，例如 A区</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>取消</translation>
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
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>DeviceCsv</name>
    <message>
        <location filename="../../dbutil/devicecsv.cpp" line="+87"/>
        <source>the address &quot;%1&quot; is not four numbers 0 to 255 without leading zeros</source>
        <translation>地址“%1”不是四个 0 到 255 之间且无前导零的数字</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The file lists %1 cameras; at most %2 are read at once.</source>
        <translation>文件列出了 %1 台摄像机；一次最多读取 %2 台。</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>a name or group longer than %1 characters or with control characters</source>
        <translation>名称或分组超过 %1 个字符或含控制字符</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 is in the list already</source>
        <translation>%1 已在列表中</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 repeats line %2</source>
        <translation>%1 与第 %2 行重复</translation>
    </message>
</context>
<context>
    <name>DeviceEditDialog</name>
    <message>
        <location filename="../../ui/device/deviceeditdialog.ui" line="+8"/>
        <source>Edit</source>
        <translation>编辑设备</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Username</source>
        <translation>用户名</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Gate 3</source>
        <translation>可选，例如 3号门</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>optional, e.g. Site A</source>
        <translation>可选，例如 A区</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>确定</translation>
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
        <translation>警告</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Invalid input</source>
        <translation>输入无效</translation>
    </message>
</context>
<context>
    <name>DeviceInfoTableModel</name>
    <message>
        <location filename="../../ui/device/deviceinfotablemodel.cpp" line="+47"/>
        <source>Network Normal</source>
        <translation>网络正常</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Network Lost</source>
        <translation>网络断开</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>Not seen since the program started</source>
        <translation>程序启动以来未见在线</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last seen %1</source>
        <translation>最后在线 %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>All</source>
        <translation>全选</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device Ip</source>
        <translation>设备IP</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>OTA</source>
        <translation>固件版本</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DB1</source>
        <translation>人脸库1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DB2</source>
        <translation>人脸库2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Network Status</source>
        <translation>网络状态</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Update</source>
        <translation>刷新</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>undefined</source>
        <translation>未定义</translation>
    </message>
</context>
<context>
    <name>DeviceInput</name>
    <message>
        <location filename="../../ui/device/deviceinputrules.cpp" line="+48"/>
        <source>A name or group is at most %1 characters, without control characters.</source>
        <translation>名称或分组最多 %1 个字符，且不能含控制字符。</translation>
    </message>
</context>
<context>
    <name>DeviceListExportDialog</name>
    <message>
        <location filename="../../ui/device/devicelistexportdialog.ui" line="+6"/>
        <source>Export Device List</source>
        <translation>导出设备列表</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The cameras shown are written to a CSV file: address, user name, name and group.</source>
        <translation>当前显示的摄像机将写入 CSV 文件：地址、用户名、名称和分组。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Include passwords</source>
        <translation>包含密码</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The passwords are written as plain text: anyone who reads the file can log in to these cameras. Keep it private.</source>
        <translation>密码将以明文写入：任何能读取该文件的人都可以登录这些摄像机。请妥善保管。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>DeviceListImportDialog</name>
    <message>
        <location filename="../../ui/device/devicelistimportdialog.ui" line="+7"/>
        <source>Import Device List</source>
        <translation>导入设备列表</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lines not added</source>
        <translation>未添加的行</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Add Cameras</source>
        <translation>添加摄像机</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../ui/device/devicelistimportdialog.cpp" line="+15"/>
        <source>Line</source>
        <translation>行</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Device Ip</source>
        <translation>设备IP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Username</source>
        <translation>用户名</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>%1: lines breaking the rules: %2. Nothing is added; correct the file and import it again.</source>
        <translation>%1：不符合规则的行数：%2。未添加任何摄像机；请修改文件后重新导入。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: cameras to add: %2.</source>
        <translation>%1：将添加的摄像机：%2 台。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Listed already or repeated, left out: %1.</source>
        <translation>已在列表中或重复而跳过的：%1 台。</translation>
    </message>
</context>
<context>
    <name>DeviceOperation</name>
    <message>
        <location filename="../../ui/device/deviceoperation.ui" line="+16"/>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Config FDB</source>
        <translation>配置人脸库</translation>
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
        <translation>搜索设备</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Devices List</source>
        <translation>设备列表</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Username</source>
        <translation>用户名</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>取消</translation>
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
        <translation>警告</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>No item selected</source>
        <translation>未选择设备</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Invalid username or password</source>
        <translation>用户名或密码无效</translation>
    </message>
</context>
<context>
    <name>ExtractFaceDialog</name>
    <message>
        <location filename="../../tools/extractfacedialog.ui" line="+26"/>
        <source>Extract Face</source>
        <translation>人脸裁剪</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Input Directory</source>
        <translation>输入目录</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+20"/>
        <source>Open</source>
        <translation>浏览</translation>
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
        <translation>输出目录</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location filename="../../tools/extractfacedialog.cpp" line="+45"/>
        <source>Open Image Dir</source>
        <translation>选择目录</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Please select the input directory</source>
        <translation>请选择输入目录</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The input directory does not exist</source>
        <translation>输入目录不存在</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Please select the output directory</source>
        <translation>请选择输出目录</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The output directory does not exist</source>
        <translation>输出目录不存在</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The output directory must differ from the input directory</source>
        <translation>输出目录不能与输入目录相同</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>no face found</source>
        <translation>未找到人脸</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>too large to upload</source>
        <translation>过大，无法上传</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>not written</source>
        <translation>无法写入</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Preprocess finished</source>
        <translation>预处理完成</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Total</source>
        <translation>总数</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>and %1 more</source>
        <translation>另有 %1 个</translation>
    </message>
</context>
<context>
    <name>FleetLimitDialog</name>
    <message>
        <location filename="../../main/fleetlimitdialog.ui" line="+7"/>
        <source>Cameras at once</source>
        <translation>同时处理的相机数</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>At most this many cameras at once</source>
        <translation>最多同时处理的相机数</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Refreshes and batch jobs started from now on keep this bound.</source>
        <translation>此后开始的刷新和批量任务遵守此上限。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>HealthIntervalDialog</name>
    <message>
        <location filename="../../main/healthintervaldialog.ui" line="+7"/>
        <source>Background check</source>
        <translation>后台检查</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Check every camera every this many minutes (0: never)</source>
        <translation>每隔多少分钟检查一次所有摄像机（0：不检查）</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The check runs in the background, a few cameras at once, and waits while another job runs.</source>
        <translation>检查在后台进行，每次检查几台摄像机；其他任务运行时等待。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../main/healthintervaldialog.cpp" line="+10"/>
        <source>Never</source>
        <translation>从不</translation>
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
        <translation>添加</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Find</source>
        <translation>搜索</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Update All</source>
        <translation>全部刷新</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Import Batch</source>
        <translation>批量导入</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Extract Batch</source>
        <translation>批量提取</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Upload Batch</source>
        <translation>批量上传</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Sync Batch</source>
        <translation>批量同步</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Make one library the same on the ticked cameras, sending only the difference</source>
        <translation>使勾选的摄像机上的人脸库与来源一致，只发送差异</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Filter: address, name, group, firmware, status</source>
        <translation>筛选：地址、名称、分组、固件、状态</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Show the cameras of one group</source>
        <translation>只显示一个分组的摄像机</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cameras that answered their last refresh or background check</source>
        <translation>上次刷新或后台检查时有应答的摄像机</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Import List</source>
        <translation>导入列表</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add cameras from a CSV file</source>
        <translation>从 CSV 文件添加摄像机</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Export List</source>
        <translation>导出列表</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save the cameras shown to a CSV file</source>
        <translation>将当前显示的摄像机保存到 CSV 文件</translation>
    </message>
    <message>
        <location filename="../../ui/device/indexpage.cpp" line="+151"/>
        <source>Network Status</source>
        <translation>网络状态</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Network Normal</source>
        <translation>网络正常</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>The device list could not be read. It was kept as %1; the list starts empty.</source>
        <translation>无法读取设备列表，已另存为 %1；设备列表从空开始。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The device list could not be saved to %1. Your changes are kept; the program tries again every 10 seconds and when it closes.</source>
        <translation>无法将设备列表保存到 %1。您的修改仍保留，程序每 10 秒以及关闭时会再次尝试保存。</translation>
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
        <translation>警告</translation>
    </message>
    <message>
        <location line="-505"/>
        <source>The device has been added</source>
        <translation>该设备已添加</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No item selected</source>
        <translation>未选择设备</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete these devices?</source>
        <translation>确定删除所选设备？</translation>
    </message>
    <message>
        <location line="+154"/>
        <source>%1 / %2 online</source>
        <translation>%1 / %2 在线</translation>
    </message>
    <message>
        <location line="+25"/>
        <location line="+9"/>
        <source>Login failed</source>
        <translation>登录失败</translation>
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
        <translation>剩余重试次数</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+1"/>
        <source>Account lock</source>
        <translation>账号已锁定</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>lock time end</source>
        <translation>锁定已解除</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>lock left time</source>
        <translation>剩余锁定时间</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>s</source>
        <translation>秒</translation>
    </message>
    <message>
        <location line="+199"/>
        <source>The camera names could not be saved to %1.</source>
        <translation>摄像机名称无法保存到 %1。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>All groups</source>
        <translation>全部分组</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No group</source>
        <translation>无分组</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Import Device List</source>
        <translation>导入设备列表</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV 文件 (*.csv);;所有文件 (*)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 cannot be read or is larger than 1 MB.</source>
        <translation>%1 无法读取或大于 1 MB。</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Export Device List</source>
        <translation>导出设备列表</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The device list could not be written to %1.</source>
        <translation>设备列表无法写入 %1。</translation>
    </message>
</context>
<context>
    <name>InteractionWaitingWidget</name>
    <message>
        <location filename="../../ui/widgets/interactionwaitingwidget.ui" line="+26"/>
        <source>Cancel</source>
        <translation>取消</translation>
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
        <translation>图片</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Name</source>
        <translation>姓名</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 1</source>
        <translation>自定义1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 2</source>
        <translation>自定义2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 3</source>
        <translation>自定义3</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 4</source>
        <translation>自定义4</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>User define 5</source>
        <translation>自定义5</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn1</source>
        <translation>btn1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>btn2</source>
        <translation>btn2</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/itemadddialog.cpp" line="+27"/>
        <source>Add</source>
        <translation>添加记录</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Edit</source>
        <translation>编辑记录</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Open Image</source>
        <translation>选择图片</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Images (*.jpeg *.jpg)</source>
        <translation>图片 (*.jpeg *.jpg)</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+5"/>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Text too long for the camera</source>
        <translation>文本超出相机允许的长度</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+4"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="-18"/>
        <source>Image name is invalid</source>
        <translation>姓名无效</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Please select one photograph</source>
        <translation>请选择一张图片</translation>
    </message>
</context>
<context>
    <name>JobReport</name>
    <message>
        <location filename="../../reports/jobreport.cpp" line="+21"/>
        <source>Import Batch</source>
        <translation>批量导入</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extract Batch</source>
        <translation>批量提取</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload Batch</source>
        <translation>批量上传</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Folder upload</source>
        <translation>文件夹上传</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library import</source>
        <translation>人脸库导入</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library export</source>
        <translation>人脸库导出</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync Batch</source>
        <translation>批量同步</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Stored</source>
        <translation>已存储</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Skipped</source>
        <translation>已跳过</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../main/mainwindow.ui" line="+14"/>
        <location line="+81"/>
        <location filename="../../main/mainwindow.cpp" line="+38"/>
        <source>header_title</source>
        <translation>人脸库管理</translation>
    </message>
    <message>
        <location filename="../../dbutil/jobcontrol.cpp" line="+17"/>
        <source>Scan Device</source>
        <translation>设备搜索</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload Image</source>
        <translation>图片上传</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extract Feature</source>
        <translation>特征提取</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Upload Batch</source>
        <translation>批量上传</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Face DB Import</source>
        <translation>人脸库导入</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Face DB Export</source>
        <translation>人脸库导出</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Check Image</source>
        <translation>图片检查</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unpack Package</source>
        <translation>数据包解压</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Preprocess Image</source>
        <translation>图片预处理</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync Batch</source>
        <translation>批量同步</translation>
    </message>
    <message>
        <location filename="../../main/exitguard.cpp" line="+17"/>
        <source>The following tasks are being executed</source>
        <translation>以下任务正在执行</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exit anyhow</source>
        <translation>仍要退出</translation>
    </message>
    <message>
        <location line="+5"/>
        <location filename="../../main/mainwindow.cpp" line="+74"/>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <location filename="../../main/mainwindow.cpp" line="-54"/>
        <source>Preprocess image</source>
        <translation>图片预处理</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Job reports</source>
        <translation>任务报告</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cameras side by side</source>
        <translation>多台相机并行</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Background check: off...</source>
        <translation>后台检查：关闭...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Check the cameras every %1 minutes...</source>
        <translation>每 %1 分钟检查摄像机...</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>At most %1 cameras at once...</source>
        <translation>最多同时处理 %1 台相机...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Takes effect the next time the program starts.</source>
        <translation>下次启动程序时生效。</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The settings could not be saved.</source>
        <translation>无法保存设置。</translation>
    </message>
</context>
<context>
    <name>Pagination</name>
    <message>
        <location filename="../../ui/widgets/pagination.ui" line="+16"/>
        <source>Total 100 Record</source>
        <translation>共 100 条</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Per Page</source>
        <translation>每页</translation>
    </message>
    <message>
        <location line="+26"/>
        <location filename="../../ui/widgets/pagination.cpp" line="+36"/>
        <source>Record</source>
        <translation>条</translation>
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
        <translation>跳至</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Page</source>
        <translation>页</translation>
    </message>
    <message>
        <location filename="../../ui/widgets/pagination.cpp" line="-1"/>
        <source>Total</source>
        <translation>共</translation>
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
        <translation>取消</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Canceled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>finished</source>
        <translation>已完成</translation>
    </message>
</context>
<context>
    <name>ProgressModel</name>
    <message>
        <location filename="../../ui/widgets/progressmodel.cpp" line="+4"/>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Note</source>
        <translation>备注</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../dbutil/errortext.cpp" line="+15"/>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Bad parameter</source>
        <translation>参数错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Invalid message</source>
        <translation>消息无效</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not login</source>
        <translation>未登录</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login error</source>
        <translation>登录错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FaceDB locked</source>
        <translation>人脸库已锁定</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>SDK error</source>
        <translation>SDK 错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FaceDB error</source>
        <translation>人脸库错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File error</source>
        <translation>文件错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device type error</source>
        <translation>设备类型错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image sum error</source>
        <translation>图片校验值错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image type error</source>
        <translation>图片格式错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image size error</source>
        <translation>图片文件大小错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image pixel size error</source>
        <translation>图片分辨率错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open file failed</source>
        <translation>打开文件失败</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File md5 get failed</source>
        <translation>获取文件 MD5 失败</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>DMUpgrade failed</source>
        <translation>设备升级失败</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Connection timeout</source>
        <translation>连接超时</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Network error</source>
        <translation>网络错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input IP address</source>
        <translation>请输入 IP 地址</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input user name</source>
        <translation>请输入用户名</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please input password</source>
        <translation>请输入密码</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Package too large</source>
        <translation>数据包过大</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not enough disk space</source>
        <translation>磁盘空间不足</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cancelled before it started</source>
        <translation>开始前已取消</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The folder &quot;temp&quot; was not made by this program; please move it away.</source>
        <translation>“temp”文件夹不是本程序创建的，请将其移走。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>SDK or IPC error code</source>
        <translation>SDK 或设备错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Account lock</source>
        <translation>账号已锁定</translation>
    </message>
    <message>
        <location line="-69"/>
        <location filename="../../dbutil/inputcheck.cpp" line="+79"/>
        <location filename="../../tools/vizorworker.cpp" line="+160"/>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <location filename="../../tools/vizorworker.cpp" line="+3"/>
        <source>uninit</source>
        <translation>未初始化</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>parameter error</source>
        <translation>参数错误</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no image</source>
        <translation>没有图片</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>bad face rects</source>
        <translation>人脸框无效</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>face rect too small</source>
        <translation>人脸框过小</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no face rect</source>
        <translation>未检测到人脸</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>not liveness</source>
        <translation>非活体</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no metric</source>
        <translation>无质量评分</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no keypoint</source>
        <translation>未检测到关键点</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>pose error</source>
        <translation>人脸姿态不符</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no model</source>
        <translation>缺少模型</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>bad quality</source>
        <translation>图片质量差</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>config error</source>
        <translation>配置错误</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>string length too short</source>
        <translation>字符串长度不足</translation>
    </message>
    <message>
        <location filename="../../dbutil/inputcheck.cpp" line="-10"/>
        <source>Username is 4-16 in length</source>
        <translation>用户名长度为 4-16 位</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>contains Chinese and English characters, numbers, and underscores.</source>
        <translation>可包含中英文字符、数字和下划线。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Password is 6-16 in length</source>
        <translation>密码长度为 6-16 位</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>contains upper case or lower case characters, numbers or underscores.</source>
        <translation>可包含大小写字母、数字和下划线。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Invalid input</source>
        <translation>输入无效</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Invalid IP</source>
        <translation>IP 地址无效</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Invalid username</source>
        <translation>用户名无效</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Invalid password</source>
        <translation>密码无效</translation>
    </message>
    <message>
        <location filename="../../main/startup.cpp" line="+125"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Another process is running</source>
        <translation>程序已在运行</translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <location filename="../../ui/reports/reportdialog.ui" line="+9"/>
        <source>Job report</source>
        <translation>任务报告</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Retry failed</source>
        <translation>重试失败项</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../../ui/reports/reportbox.cpp" line="+14"/>
        <source>Details</source>
        <translation>详情</translation>
    </message>
    <message>
        <location filename="../../ui/reports/reportdialog.cpp" line="+56"/>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Stored: %1, Failed: %2, Skipped: %3</source>
        <translation>已存储：%1，失败：%2，已跳过：%3</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Save report</source>
        <translation>保存报告</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Report not saved</source>
        <translation>报告未保存</translation>
    </message>
</context>
<context>
    <name>ReportListDialog</name>
    <message>
        <location filename="../../ui/reports/reportlistdialog.ui" line="+9"/>
        <source>Job reports</source>
        <translation>任务报告</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../../ui/reports/reportlistdialog.cpp" line="+15"/>
        <source>Job</source>
        <translation>任务</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Finished</source>
        <translation>结束时间</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Stored</source>
        <translation>已存储</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Skipped</source>
        <translation>已跳过</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Reading the reports...</source>
        <translation>正在读取报告...</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>No job reports yet</source>
        <translation>尚无任务报告</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The last %1 jobs</source>
        <translation>最近 %1 个任务</translation>
    </message>
</context>
<context>
    <name>ReportModel</name>
    <message>
        <location filename="../../ui/reports/reportmodel.cpp" line="+66"/>
        <source>Camera</source>
        <translation>摄像机</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Library</source>
        <translation>人脸库</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reason</source>
        <translation>原因</translation>
    </message>
</context>
<context>
    <name>SimpleImageDialog</name>
    <message>
        <location filename="../../ui/facedb/simpleimagedialog.ui" line="+14"/>
        <source>Display</source>
        <translation>查看图片</translation>
    </message>
    <message>
        <location filename="../../ui/facedb/simpleimagedialog.cpp" line="+30"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Get device info failed</source>
        <translation>获取设备信息失败</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+12"/>
        <source>The image doesn&apos;t exist</source>
        <translation>图片不存在</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Get image data failed</source>
        <translation>获取图片数据失败</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Load jpg image failed</source>
        <translation>JPG 图片加载失败</translation>
    </message>
</context>
<context>
    <name>SyncApply</name>
    <message>
        <location filename="../../sync/applying.cpp" line="+30"/>
        <source>Added</source>
        <translation>已添加</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Texts updated</source>
        <translation>文字已更新</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Picture replaced</source>
        <translation>图片已替换</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Deleted</source>
        <translation>已删除</translation>
    </message>
    <message>
        <location line="+150"/>
        <source>The new picture is held; the old record could not be deleted: %1</source>
        <translation>新图片已保存；旧记录无法删除：%1</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>The camera did not take the new texts.</source>
        <translation>相机未接受新的文字。</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The feature extraction did not start.</source>
        <translation>特征提取未能开始。</translation>
    </message>
</context>
<context>
    <name>SyncPlan</name>
    <message>
        <location filename="../../sync/planning.cpp" line="+153"/>
        <source>The camera already holds %1 libraries, none called %2.</source>
        <translation>相机已有 %1 个人脸库，没有名为 %2 的库。</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The library could not be read: %1</source>
        <translation>无法读取人脸库：%1</translation>
    </message>
</context>
<context>
    <name>SyncSource</name>
    <message>
        <location filename="../../sync/source.cpp" line="+39"/>
        <source>A temporary folder could not be made.</source>
        <translation>无法创建临时文件夹。</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>The camera %1 did not answer.</source>
        <translation>相机 %1 没有应答。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The camera %1 has no library called %2.</source>
        <translation>相机 %1 没有名为 %2 的人脸库。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The library %1 of %2 could not be read: %3</source>
        <translation>无法读取 %2 的人脸库 %1：%3</translation>
    </message>
</context>
<context>
    <name>SyncTargetModel</name>
    <message>
        <location filename="../../batch/dialogs/synctargetmodel.cpp" line="+102"/>
        <source>Camera</source>
        <translation>摄像机</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
</context>
<context>
    <name>UploadImageWidget</name>
    <message>
        <location filename="../../ui/facedb/uploadimagewidget.ui" line="+51"/>
        <source>Upload Image</source>
        <translation>上传图片</translation>
    </message>
</context>
</TS>
