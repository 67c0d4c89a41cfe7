<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ControlRoles</name>
    <message>
        <source>页面</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>处理器</source>
        <translation>Processor</translation>
    </message>
    <message>
        <source>内存</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>已加载内存</source>
        <translation>Memory load</translation>
    </message>
    <message>
        <source>内存使用图</source>
        <translation>Memory use graph</translation>
    </message>
    <message>
        <source>图表背景</source>
        <translation>Graph background</translation>
    </message>
    <message>
        <source>图表网格</source>
        <translation>Graph grid</translation>
    </message>
    <message>
        <source>物理内存</source>
        <translation>Physical memory</translation>
    </message>
    <message>
        <source>虚拟内存</source>
        <translation>Virtual memory</translation>
    </message>
    <message>
        <source>驱动器</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>文件列表</source>
        <translation>File list</translation>
    </message>
    <message>
        <source>已安装的服务</source>
        <translation>Installed services</translation>
    </message>
    <message>
        <source>已安装的软件</source>
        <translation>Installed programs</translation>
    </message>
    <message>
        <source>已安装打印机</source>
        <translation>Installed printers</translation>
    </message>
</context>
<context>
    <name>DiskPage</name>
    <message>
        <source>可移动存储器或软盘</source>
        <translation>Removable or floppy disk</translation>
    </message>
    <message>
        <source>固定驱动器</source>
        <translation>Fixed drive</translation>
    </message>
    <message>
        <source>远程存储器</source>
        <translation>Network drive</translation>
    </message>
    <message>
        <source>光盘驱动器</source>
        <translation>CD/DVD drive</translation>
    </message>
    <message>
        <source>内存存储器</source>
        <translation>RAM disk</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>FormCaptions</name>
    <message>
        <source>处理器</source>
        <translation>CPU</translation>
    </message>
    <message>
        <source>总的物理内存:</source>
        <translation>Total physical memory:</translation>
    </message>
    <message>
        <source>可用物理内存:</source>
        <translation>Free physical memory:</translation>
    </message>
    <message>
        <source>总的虚拟内存:</source>
        <translation>Total virtual memory:</translation>
    </message>
    <message>
        <source>可用虚拟内存:</source>
        <translation>Free virtual memory:</translation>
    </message>
    <message>
        <source>已加载内存:</source>
        <translation>Memory load:</translation>
    </message>
    <message>
        <source>物理内存</source>
        <translation>Physical memory</translation>
    </message>
    <message>
        <source>虚拟内存</source>
        <translation>Virtual memory</translation>
    </message>
    <message>
        <source>内存</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>硬盘</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>驱动器序列号:</source>
        <translation>Drive serial number:</translation>
    </message>
    <message>
        <source>驱动器分区类型:</source>
        <translation>File system:</translation>
    </message>
    <message>
        <source>驱动器类型:</source>
        <translation>Drive type:</translation>
    </message>
    <message>
        <source>总磁盘大小:</source>
        <translation>Total size:</translation>
    </message>
    <message>
        <source>磁盘空闲:</source>
        <translation>Free space:</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>已安装的服务</source>
        <translation>Installed services</translation>
    </message>
    <message>
        <source>已安装的软件</source>
        <translation>Installed programs</translation>
    </message>
    <message>
        <source>打印机</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>已安装打印机</source>
        <translation>Installed printers</translation>
    </message>
    <message>
        <source>默认打印机名称:</source>
        <translation>Default printer:</translation>
    </message>
    <message>
        <source>打印机精度:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>其他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>网络</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>计算机IP地址:</source>
        <translation>IP address:</translation>
    </message>
    <message>
        <source>计算机名</source>
        <translation>Computer name:</translation>
    </message>
    <message>
        <source>操作系统</source>
        <translation>Operating system</translation>
    </message>
    <message>
        <source>系统运行时间:</source>
        <translation>System uptime:</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>主页:</source>
        <translation>Home page:</translation>
    </message>
    <message>
        <source>邮箱:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>System</translation>
    </message>
    <message>
        <source>发行版:</source>
        <translation>Distribution:</translation>
    </message>
    <message>
        <source>内核:</source>
        <translation>Kernel:</translation>
    </message>
    <message>
        <source>架构:</source>
        <translation>Architecture:</translation>
    </message>
    <message>
        <source>处理器:</source>
        <translation>Processor:</translation>
    </message>
    <message>
        <source>桌面:</source>
        <translation>Desktop:</translation>
    </message>
</context>
<context>
    <name>MarkdownReportWriter</name>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>MemoryPage</name>
    <message>
        <source>物理内存 %1 %, 虚拟内存 %2 %</source>
        <translation>Physical memory %1 %, virtual memory %2 %</translation>
    </message>
</context>
<context>
    <name>OtherPage</name>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message numerus="yes">
        <source>%n 线程</source>
        <translation>
            <numerusform>%n thread</numerusform>
            <numerusform>%n threads</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 核 / %1</source>
        <translation>
            <numerusform>%n core / %1</numerusform>
            <numerusform>%n cores / %1</numerusform>
        </translation>
    </message>
    <message>
        <source>无</source>
        <comment>no desktop session</comment>
        <translation>None</translation>
    </message>
    <message>
        <source>运行时间: %1</source>
        <translation>Uptime: %1</translation>
    </message>
    <message>
        <source>%1 天 %2 小时 %3 分 %4 秒</source>
        <translation>%1 d %2 h %3 min %4 s</translation>
    </message>
</context>
<context>
    <name>PrinterPage</name>
    <message>
        <source>x: %1 y: %2 DPI (每英寸点数)</source>
        <translation>x: %1 y: %2 DPI (dots per inch)</translation>
    </message>
    <message>
        <source>: 彩色</source>
        <translation>: colour</translation>
    </message>
    <message>
        <source>: 黑白</source>
        <translation>: black and white</translation>
    </message>
    <message>
        <source>打印机支持彩色打印</source>
        <translation>Printer supports colour printing</translation>
    </message>
    <message>
        <source>打印机不支持彩色打印</source>
        <translation>Printer does not support colour printing</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Default</translation>
    </message>
</context>
<context>
    <name>ProcessorIdentityReport</name>
    <message>
        <source>制造商ID</source>
        <translation>Vendor ID</translation>
    </message>
    <message>
        <source>架构ID</source>
        <translation>Architecture ID</translation>
    </message>
    <message>
        <source>实现ID</source>
        <translation>Implementation ID</translation>
    </message>
    <message>
        <source>指令集</source>
        <translation>Instruction set</translation>
    </message>
    <message>
        <source>系列</source>
        <translation>Family</translation>
    </message>
    <message>
        <source>核心</source>
        <translation>Cores</translation>
    </message>
    <message>
        <source>未知 (%1)</source>
        <translation>Unknown (%1)</translation>
    </message>
    <message>
        <source>处理器</source>
        <translation>Processor</translation>
    </message>
    <message>
        <source>制造商</source>
        <translation>Vendor</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>部件号</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>变体</source>
        <translation>Variant</translation>
    </message>
    <message>
        <source>修订号</source>
        <translation>Revision</translation>
    </message>
    <message>
        <source>架构</source>
        <translation>Architecture</translation>
    </message>
    <message>
        <source>空</source>
        <translation>empty</translation>
    </message>
    <message>
        <source>逻辑处理器</source>
        <translation>Logical processors</translation>
    </message>
    <message>
        <source>指令集扩展: </source>
        <translation>Instruction set extensions: </translation>
    </message>
    <message>
        <source>品牌: </source>
        <translation>Board: </translation>
    </message>
</context>
<context>
    <name>ProcessorPage</name>
    <message>
        <source>支持</source>
        <translation>supported</translation>
    </message>
    <message>
        <source>不支持</source>
        <translation>not supported</translation>
    </message>
    <message>
        <source>处理器</source>
        <translation>Processor</translation>
    </message>
    <message>
        <source>   - CPUID指令: </source>
        <translation>   - CPUID instruction: </translation>
    </message>
    <message>
        <source>不支持.</source>
        <translation>not supported.</translation>
    </message>
    <message>
        <source>   - 供货商ID: </source>
        <translation>   - Vendor ID: </translation>
    </message>
    <message>
        <source>   - 步进ID: </source>
        <translation>   - Stepping: </translation>
    </message>
    <message>
        <source>   - 型号: </source>
        <translation>   - Model: </translation>
    </message>
    <message>
        <source>   - 系列代码: </source>
        <translation>   - Family: </translation>
    </message>
    <message>
        <source>   - 处理器类型: </source>
        <translation>   - Processor type: </translation>
    </message>
    <message>
        <source>   - 扩展型号: </source>
        <translation>   - Extended model: </translation>
    </message>
    <message>
        <source>   - 大系列: </source>
        <translation>   - Extended family: </translation>
    </message>
    <message>
        <source>   - 品牌 ID: </source>
        <translation>   - Brand ID: </translation>
    </message>
    <message>
        <source>   - 片数: </source>
        <translation>   - CLFLUSH line size: </translation>
    </message>
    <message>
        <source>   - 数量: </source>
        <translation>   - Logical processors: </translation>
    </message>
    <message>
        <source>   - APIC(高级可编程终端控制器)ID: </source>
        <translation>   - APIC ID: </translation>
    </message>
    <message>
        <source>   - 序列号 </source>
        <translation>   - Serial number </translation>
    </message>
    <message>
        <source>有效</source>
        <translation>enabled</translation>
    </message>
    <message>
        <source>失效</source>
        <translation>disabled</translation>
    </message>
    <message>
        <source>   - 序列号: </source>
        <translation>   - Serial number: </translation>
    </message>
    <message>
        <source>MMX(多媒体增强指令集) </source>
        <translation>MMX (multimedia extensions) </translation>
    </message>
    <message>
        <source>FXSAVE &amp; FXRSTOR 指令 </source>
        <translation>FXSAVE &amp; FXRSTOR instructions </translation>
    </message>
    <message>
        <source>FXSAVE &amp; FXRSTOR 指令集</source>
        <translation>FXSAVE &amp; FXRSTOR instructions </translation>
    </message>
    <message>
        <source>SSE指令集 </source>
        <translation>SSE instructions </translation>
    </message>
    <message>
        <source>SSE2指令集 </source>
        <translation>SSE2 instructions </translation>
    </message>
    <message>
        <source>   - 扩展CPUID </source>
        <translation>   - Extended CPUID </translation>
    </message>
    <message>
        <source>扩展CPUID: </source>
        <translation>Extended CPUID: </translation>
    </message>
    <message>
        <source>   - 高级功能支持: </source>
        <translation>   - Extended functions: </translation>
    </message>
    <message>
        <source>品牌: </source>
        <translation>Brand: </translation>
    </message>
</context>
<context>
    <name>ReportBuilder</name>
    <message>
        <source>%1（%2 字节）</source>
        <translation>%1 (%2 bytes)</translation>
    </message>
    <message>
        <source>驱动器</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>挂载点</source>
        <translation>Mount point</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>远程名称</source>
        <translation>Remote name</translation>
    </message>
    <message>
        <source>卷标</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>文件系统</source>
        <translation>File system</translation>
    </message>
    <message>
        <source>总大小</source>
        <translation>Total size</translation>
    </message>
    <message>
        <source>可用空间</source>
        <translation>Free space</translation>
    </message>
    <message>
        <source>驱动器列表</source>
        <translation>Drives</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>单元</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>卸载命令</source>
        <translation>Removal command</translation>
    </message>
    <message>
        <source>彩色打印</source>
        <translation>Colour printing</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>no</translation>
    </message>
    <message>
        <source>程序</source>
        <translation>Program</translation>
    </message>
</context>
<context>
    <name>ReportGap</name>
    <message>
        <source>读取失败</source>
        <translation>reading failed</translation>
    </message>
    <message>
        <source>无法打开服务管理器</source>
        <translation>the service manager cannot be opened</translation>
    </message>
    <message>
        <source>窗口尚未显示</source>
        <translation>not shown in the window yet</translation>
    </message>
    <message>
        <source>处理器没有 CPUID 指令</source>
        <translation>the processor has no CPUID instruction</translation>
    </message>
    <message>
        <source>报告尚未绘制</source>
        <translation>the report is not drawn yet</translation>
    </message>
    <message>
        <source>卷不可读</source>
        <translation>the volume cannot be read</translation>
    </message>
    <message>
        <source>%1 没有及时回答</source>
        <translation>%1 did not answer in time</translation>
    </message>
    <message>
        <source>%1 的软件包列表过长，超出读取上限的部分未列出</source>
        <translation>%1&apos;s package list is too long: the packages past the reading limit are not listed</translation>
    </message>
    <message>
        <source>%1 的软件包列表无法读取</source>
        <translation>%1&apos;s package list cannot be read</translation>
    </message>
    <message>
        <source>没有默认打印机</source>
        <translation>no default printer</translation>
    </message>
    <message>
        <source>计算机名没有 IPv4 地址</source>
        <translation>the computer name has no IPv4 address</translation>
    </message>
    <message>
        <source>计算机没有名称</source>
        <translation>the computer has no name</translation>
    </message>
    <message>
        <source>系统没有给出</source>
        <translation>not given by the system</translation>
    </message>
    <message>
        <source>所选打印机无效</source>
        <translation>the chosen printer is not valid</translation>
    </message>
    <message>
        <source>无法读取打印机的设置</source>
        <translation>the printer&apos;s settings cannot be read</translation>
    </message>
    <message>
        <source>打印服务没有回答</source>
        <translation>the print service did not answer</translation>
    </message>
    <message>
        <source>%1 秒内没有回答</source>
        <translation>no answer within %1 s</translation>
    </message>
    <message>
        <source>%1 毫秒内没有回答</source>
        <translation>no answer within %1 ms</translation>
    </message>
</context>
<context>
    <name>SystemPage</name>
    <message>
        <source>系统必需</source>
        <translation>Required by the system</translation>
    </message>
    <message>
        <source>来源: </source>
        <translation>Source: </translation>
    </message>
    <message>
        <source>卸载命令: </source>
        <translation>Removal command: </translation>
    </message>
</context>
<context>
    <name>TDriveComboBox</name>
    <message>
        <source>挂载点: </source>
        <translation>Mount point: </translation>
    </message>
    <message>
        <source>设备: </source>
        <translation>Device: </translation>
    </message>
</context>
<context>
    <name>TextReportWriter</name>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>已隐去个人信息: 主机名、IP 与 MAC 地址、序列号、UUID、路径中的用户名</source>
        <translation>Personal facts hidden: host name, IP and MAC addresses, serial numbers, UUIDs, user names in paths</translation>
    </message>
    <message>
        <source>无（%1）</source>
        <translation>none (%1)</translation>
    </message>
    <message>
        <source>无法读取（%1）</source>
        <translation>unreadable (%1)</translation>
    </message>
    <message>
        <source>时间: </source>
        <translation>Time: </translation>
    </message>
    <message>
        <source>主机: </source>
        <translation>Host: </translation>
    </message>
</context>
<context>
    <name>WindowActions</name>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>复制全部</source>
        <translation>Copy all</translation>
    </message>
    <message>
        <source>复制全部（隐去个人信息）</source>
        <translation>Copy all (without personal facts)</translation>
    </message>
    <message>
        <source>复制全部（英文）</source>
        <comment>in the other language</comment>
        <extracomment>The whole report in the language the window does not speak: English in the Chinese window, Chinese in the English one.</extracomment>
        <translation>Copy all (Chinese)</translation>
    </message>
</context>
</TS>
