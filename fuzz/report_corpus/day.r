<REPORT>
<BODY>
<band arrange="vertical" left="0">
<LABEL TEXT="12/8/2026" ALIGNMENT="LEFT"  LEFT="1.85" TOP="2.12" HEIGHT="5.82"  FONT="Arial14B"  COLOR="#000080"/>
</band>
<band arrange="vertical" left="0">
<IMAGE NAME="__CHECKED" LEFT="1.85" TOP="0.00"/><LABEL TEXT="Item number 1 with some text" LEFT="6.61" TOP="0.00" HEIGHT="4.50" WIDTH="180.44"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000"/>
</band>
<band arrange="vertical" left="0">
<LABEL TEXT="Description:" ALIGNMENT="LEFT"  LEFT="7.41" TOP="0.26" HEIGHT="3.44"  FONT="Arial10I"  COLOR="#800000"/>
<band left="0">
<LABEL VALIGN="BOTTOM" LEFT="7.41" TOP="3.97" HEIGHT="5.82"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000" TEXT="Description line 1 of item 1  "/>
</band>
</band>
<band arrange="vertical" left="0">
<IMAGE NAME="__UNCHECKED" LEFT="1.85" TOP="0.00"/><LABEL TEXT="Item number 2 with some text" LEFT="6.61" TOP="0.00" HEIGHT="4.50" WIDTH="180.44"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000"/>
</band>
<band arrange="vertical" left="0">
<LABEL TEXT="Description:" ALIGNMENT="LEFT"  LEFT="7.41" TOP="0.26" HEIGHT="3.44"  FONT="Arial10I"  COLOR="#800000"/>
<band left="0">
<LABEL VALIGN="BOTTOM" LEFT="7.41" TOP="3.97" HEIGHT="5.82"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000" TEXT="Description line 1 of item 2  "/>
</band>
<band left="0">
<LABEL VALIGN="BOTTOM" LEFT="7.41" TOP="3.97" HEIGHT="5.82"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000" TEXT="Description line 2 of item 2  "/>
</band>
</band>
<band arrange="vertical" left="0">
<IMAGE NAME="__UNCHECKED" LEFT="1.85" TOP="0.00"/><LABEL TEXT="Item number 3 with some text" LEFT="6.61" TOP="0.00" HEIGHT="4.50" WIDTH="180.44"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000"/>
</band>
<band arrange="vertical" left="0">
<LABEL TEXT="Description:" ALIGNMENT="LEFT"  LEFT="7.41" TOP="0.26" HEIGHT="3.44"  FONT="Arial10I"  COLOR="#800000"/>
<band left="0">
<LABEL VALIGN="BOTTOM" LEFT="7.41" TOP="3.97" HEIGHT="5.82"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000" TEXT="Description line 1 of item 3  "/>
</band>
<band left="0">
<LABEL VALIGN="BOTTOM" LEFT="7.41" TOP="3.97" HEIGHT="5.82"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000" TEXT="Description line 2 of item 3  "/>
</band>
<band left="0">
<LABEL VALIGN="BOTTOM" LEFT="7.41" TOP="3.97" HEIGHT="5.82"  FONT="Arial10"  BGCOLOR="#FFFFFF" COLOR="#000000" TEXT="Description line 3 of item 3  "/>
</band>
</band>
</BODY>
<HEAD>
<PAGEFOOTER>
<label text="Page [[PAGE]] of [[PAGES]]" align="center" valign="top"/>
</PAGEFOOTER>

	<FONT NAME="Arial14B" SIZE="14" FACE="Arial" CHARSET="RUSSIAN" BOLD="YES"/>
	<FONT NAME="Arial10" SIZE="10" FACE="Arial" CHARSET="RUSSIAN"/>
	<FONT NAME="Arial10I" SIZE="10" FACE="Arial" CHARSET="RUSSIAN" ITALIC="YES"/></HEAD>
<IMAGES>
<IMAGEDATA NAME="__CHECKED">5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5F06867D40BCA716886D19187602F166590686E5BD0C0CEB8F02E59F02F157883A1006E901E905006C4C1ABA</IMAGEDATA><IMAGEDATA NAME="__UNCHECKED">5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5FD230480F482F00FECC1EA3</IMAGEDATA></IMAGES>
</REPORT>
