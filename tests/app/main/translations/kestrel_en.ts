<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Probe</name>
    <message>
        <source>language</source>
        <translation>en</translation>
    </message>
</context>
</TS>
