# The add-in's command bars as a user sees them in a Chinese installation: the popup and its
# entries, the explorer's two buttons (the share button hidden where nothing can be shared), and
# a compose window's Attach toggle with its tooltip, up and then pressed.
host-language zh
store init
user alice
connect
expect bar "Menu Bar" 6 type=10 id=1 tag="VelmoraMenuBar" caption="Velmora"
expect bar "Menu Bar" 1 type=1 id=1 tag="VelmoraShareAndAttach" caption="分享&&绑定..." tooltip="" visible=1 enabled=1 state=0 style=3
expect bar "Menu Bar" 3 type=1 id=1 tag="VelmoraAbout" caption="关于..."
folder 收件箱
expect bar Standard 10 type=1 id=1 tag="VelmoraShareAndAttach" caption="分享&&绑定..." tooltip="" visible=1
expect bar Standard 11 type=1 id=1 tag="VelmoraSyncVelmora" caption="同步Velmora..." tooltip="" visible=1
folder 已删除的邮件
expect bar Standard tag="VelmoraShareAndAttach" caption="分享&&绑定..." tooltip="" visible=0
expect not bar Standard tag="VelmoraAttach"
compose m1 Subject=报价
expect bar Standard m1 10 type=1 id=1 tag="VelmoraAttach" caption="绑定" tooltip="&绑定" visible=1 enabled=1 state=0 style=3
button VelmoraAttach m1
describe bar Standard m1
expect bar Standard m1 tag="VelmoraAttach" caption="绑定" tooltip="&绑定" visible=1 enabled=1 state=-1
expect error "host-language comes before" host-language en
terminate
